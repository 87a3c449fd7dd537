// A recording as a link: the page's address with the recording in its fragment, which the
// browser never sends to the server. The fragment is `r1:` and then the recording's text,
// compressed as raw DEFLATE by the browser's own streams and written in base64url without
// padding; quorvale-script --link makes the same links and reads these.

const FORMAT = 'r1';
// Browsers refuse addresses past 2 MB; an hour's game makes a fragment of a few kilobytes.
const MAX_FRAGMENT = 1_000_000;
// The longest recording a link may unpack to, the longest line a script may hold.
const MAX_TEXT = 16 * 1024 * 1024;

// A fragment of the form `r<digits>:`: a recording in some format, this one or another.
const RECORDING = /^#?r\d{1,7}:/;

export class LinkError extends Error {}

// Whether a fragment (`location.hash`) is meant to hold a recording; any other fragment is the
// page's own business.
export const holdsRecording = (hash) => RECORDING.test(hash);

function base64url(bytes) {
    let binary = '';
    const step = 0x8000;
    for (let i = 0; i < bytes.length; i += step)
        binary += String.fromCharCode(...bytes.subarray(i, i + step));
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

// Bits left over in the last character are ignored, as the desktop's reader does; a lone last
// character, padding or any other character is not base64url.
function fromBase64url(text) {
    if (text.length % 4 === 1 || !/^[A-Za-z0-9_-]*$/.test(text))
        throw new LinkError('the link is damaged: it is not valid base64url');
    const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
}

// The stream's output, a chunk at a time, stopped as soon as it passes `limit` bytes: a small
// link that claims gigabytes costs no more than the limit.
async function readAtMost(stream, limit) {
    const reader = stream.getReader();
    const chunks = [];
    let length = 0;
    for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        length += value.length;
        if (length > limit) {
            reader.cancel().catch(() => {});
            throw new LinkError("the link's recording is longer than 16 MiB, more than a link may hold");
        }
        chunks.push(value);
    }
    const bytes = new Uint8Array(length);
    let at = 0;
    for (const chunk of chunks) {
        bytes.set(chunk, at);
        at += chunk.length;
    }
    return bytes;
}

// The link for a recording: `base` without any fragment of its own, then the fragment. Refuses a
// recording that no reader would open.
export async function makeLink(text, base) {
    const bytes = new TextEncoder().encode(text);
    if (bytes.length > MAX_TEXT)
        throw new LinkError('the recording is longer than 16 MiB, more than a link may hold');
    const packed = new Uint8Array(await new Response(
        new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate-raw'))).arrayBuffer());
    const fragment = `${FORMAT}:${base64url(packed)}`;
    if (fragment.length > MAX_FRAGMENT) {
        throw new LinkError(`the recording makes a link of ${fragment.length} characters, ` +
            'more than the 1 MB a link may hold');
    }
    return `${base.split('#')[0]}#${fragment}`;
}

// The recording a fragment holds (`location.hash`, with or without its `#`). Its lines are not
// checked here: the replay checks every line before it plays any.
export async function readFragment(hash) {
    const fragment = hash.startsWith('#') ? hash.slice(1) : hash;
    if (fragment.length > MAX_FRAGMENT)
        throw new LinkError('the link is longer than 1 MB, more than a link may hold');
    const colon = fragment.indexOf(':');
    const format = fragment.slice(0, colon);
    if (colon < 0 || !RECORDING.test(fragment))
        throw new LinkError(`the link holds no recording: it has no '#${FORMAT}:'`);
    if (format !== FORMAT)
        throw new LinkError(`the link is in format '${format}', which this version does not read`);
    const packed = fromBase64url(fragment.slice(colon + 1));
    let bytes;
    try {
        bytes = await readAtMost(
            new Blob([packed]).stream().pipeThrough(new DecompressionStream('deflate-raw')), MAX_TEXT);
    } catch (error) {
        if (error instanceof LinkError) throw error;
        throw new LinkError('the link is damaged: its recording is not valid DEFLATE data');
    }
    return new TextDecoder().decode(bytes);
}
