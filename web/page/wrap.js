// A caption broken into lines at spaces, each no wider than `width` where it can be (a word wider
// than the line stands alone); `measure` gives the width of a piece of text.
export function wrap(text, width, measure) {
    const lines = [];
    let line = '';
    for (const token of text.split(/( +)/)) {
        if (!token) continue;
        const candidate = line + token;
        if (line && token.trim() && measure(candidate.trimEnd()) > width) {
            lines.push(line.trimEnd());
            line = token;
        } else {
            line = candidate;
        }
    }
    if (line) lines.push(line.trimEnd());
    return lines;
}
