// Recording: the rules' module records every event as the window's recorder does; the page only
// hands its text out.

import * as bridge from './bridge.js';

export const FILE_NAME = 'quorvale-recording.script';

export const recording = () => bridge.recording();

export async function saveRecording() {
    const url = URL.createObjectURL(new Blob([await recording()], { type: 'text/plain' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = FILE_NAME;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// `status`: the bar's status line, which names the file offered, since a browser may save it
// without a word.
export function init(saveButton, status) {
    saveButton.addEventListener('click', async () => {
        await saveRecording();
        status.textContent = `Downloading ${FILE_NAME}`;
    });
}
