// The link reader at the bounds of what a link may hold, under Node. Apart from
// modules.test.mjs because each test packs or unpacks 16 MiB or a megabyte of noise: Stryker
// runs that file once for every mutant, and these would make each run several times longer.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { deflateRawSync } from 'node:zlib';
import { LinkError, makeLink, readFragment } from '../page/link.js';

// What goes to the link reader's caller: the message it refuses with, or the text.
async function read(hash) {
    try {
        return { text: await readFragment(hash) };
    } catch (error) {
        assert.ok(error instanceof LinkError, `not a LinkError: ${error}`);
        return { refused: error.message };
    }
}

test('LinkAtEachBoundOfItsRecordingIsMadeAndReadAndOnePastItIsNot', async () => {
    const longest = '#'.repeat(16 * 1024 * 1024);
    const link = await makeLink(longest, 'x');
    const back = await read(link.slice(1));
    assert.equal(back.text?.length, longest.length, back.refused);
    await assert.rejects(makeLink(longest + '#', 'x'),
        { message: 'the recording is longer than 16 MiB, more than a link may hold' });
    // A link made elsewhere that unpacks to one byte more.
    const data = deflateRawSync(longest + '#', { level: 1 }).toString('base64url');
    assert.deepEqual(await read(`#r1:${data}`),
        { refused: "the link's recording is longer than 16 MiB, more than a link may hold" });
});

test('RecordingThatDoesNotCompressMakesNoLinkOver1MBAndOneUnder1MBComesBack', async () => {
    let seed = 19;
    const noise = (n) => {
        const bytes = new Uint8Array(n);
        for (let i = 0; i < n; ++i) {
            seed ^= seed << 13;
            seed ^= seed >>> 17;
            seed ^= seed << 5;
            bytes[i] = 33 + ((seed >>> 0) % 90);
        }
        return new TextDecoder().decode(bytes);
    };
    await assert.rejects(makeLink(noise(1_200_000), 'x'),
        (error) => error instanceof LinkError && /^the recording makes a link of \d+ characters, more than the 1 MB a link may hold$/.test(error.message));
    // Packed into more than one slice of the encoder's 32 KiB.
    const text = noise(60_000);
    const link = await makeLink(text, 'x#y');
    assert.deepEqual(await read(link.slice(1)), { text });
});
