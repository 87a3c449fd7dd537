// WebKit, the engine of every browser on an iPhone or iPad, as WebKitGTK's MiniBrowser under a
// virtual X display, driven over W3C WebDriver by WebKitWebDriver: a handful of plain HTTP calls.
//
// WEBKIT_DRIVER (default /usr/bin/WebKitWebDriver) and MINIBROWSER (default MiniBrowser of
// webkit2gtk-4.1) say where they are.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';

const MINIBROWSER_PATHS = [
    process.env.MINIBROWSER,
    '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
    '/usr/lib/aarch64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
    '/usr/libexec/webkit2gtk-4.1/MiniBrowser',
];
export const miniBrowser = MINIBROWSER_PATHS.find((p) => p && fs.existsSync(p));
const driverPath = process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';

// The WebDriver names of the keys the tests press.
export const KEYS = {
    ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
    Enter: '\uE007', Escape: '\uE00C', F10: '\uE03A', Alt: '\uE00A', Space: ' ', ' ': ' ',
};

const freePort = () => new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
        const { port } = server.address();
        server.close(() => resolve(port));
    });
});

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// A free X display, found by the lock files X servers leave.
function freeDisplay() {
    for (let n = 90; n < 200; n++) {
        if (!fs.existsSync(`/tmp/.X${n}-lock`) && !fs.existsSync(`/tmp/.X11-unix/X${n}`)) return n;
    }
    throw new Error('no free X display');
}

// Xvfb and WebKitWebDriver, started for a test file and stopped with `close()`.
export async function startWebKit() {
    const display = freeDisplay();
    const xvfb = spawn('Xvfb', [`:${display}`, '-screen', '0', '1366x900x24', '-nolisten', 'tcp'],
        { stdio: 'ignore' });
    for (let i = 0; i < 100 && !fs.existsSync(`/tmp/.X11-unix/X${display}`); i++) await sleep(50);
    const port = await freePort();
    const driver = spawn(driverPath, [`--port=${port}`],
        { stdio: 'ignore', env: { ...process.env, DISPLAY: `:${display}` } });
    const base = `http://127.0.0.1:${port}`;
    for (let i = 0; ; i++) {
        try {
            const status = await (await fetch(`${base}/status`)).json();
            if (status.value.ready !== false) break;
        } catch (e) {
            if (i > 100) throw e;
        }
        await sleep(50);
    }
    return {
        base,
        close() {
            driver.kill();
            xvfb.kill();
        },
    };
}

async function call(base, method, path, body) {
    const response = await fetch(base + path, {
        method,
        headers: body === undefined ? {} : { 'Content-Type': 'application/json' },
        body: body === undefined ? undefined : JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${method} ${path}: ${value.error}: ${value.message}`);
    return value;
}

// One browser window, as a session of the driver, answering the part of puppeteer's Page that
// the tests' helpers use, so that they run on WebKit unchanged.
export class Session {
    static async open(base) {
        const { sessionId } = await call(base, 'POST', '/session', {
            capabilities: {
                alwaysMatch: {
                    browserName: 'MiniBrowser',
                    'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] },
                },
            },
        });
        return new Session(base, sessionId);
    }

    constructor(base, id) {
        this.base = base;
        this.path = `/session/${id}`;
        this.keyboard = {
            press: (name) => this.keys([name]),
            type: (text) => this.keys([...text]),
        };
    }

    call(method, path, body) {
        return call(this.base, method, this.path + path, body);
    }

    close() {
        return this.call('DELETE', '');
    }

    goto(url) {
        return this.call('POST', '/url', { url });
    }

    title() {
        return this.call('GET', '/title');
    }

    // `fn` is a function (or its source); it may return a promise, which is awaited in the page.
    evaluate(fn, ...args) {
        return this.call('POST', '/execute/async', {
            script: `const done = arguments[arguments.length - 1];
                new Promise((resolve) => resolve((${fn}).apply(null, Array.from(arguments).slice(0, -1))))
                    .then((v) => done({ ok: v === undefined ? null : v }),
                        (e) => done({ error: String((e && e.stack) || e) }));`,
            args,
        }).then((r) => {
            if (r.error !== undefined) throw new Error(`in the page: ${r.error}`);
            return r.ok;
        });
    }

    $eval(selector, fn) {
        return this.evaluate(`(s) => (${fn})(document.querySelector(s))`, selector);
    }

    $$eval(selector, fn) {
        return this.evaluate(`(s) => (${fn})(Array.from(document.querySelectorAll(s)))`, selector);
    }

    async waitForFunction(fn, { timeout = 5000 } = {}, ...args) {
        const end = Date.now() + timeout;
        while (!(await this.evaluate(fn, ...args))) {
            if (Date.now() > end) throw new Error(`timed out waiting for ${fn}`);
            await sleep(20);
        }
    }

    // Keys pressed and released one after another, as a player types them. A long chain of
    // actions loses keys in WebKitWebDriver: they go twenty at a time.
    async keys(names) {
        for (let i = 0; i < names.length; i += 20) {
            const actions = [];
            for (const name of names.slice(i, i + 20)) {
                const value = KEYS[name] ?? name;
                actions.push({ type: 'keyDown', value }, { type: 'keyUp', value });
            }
            await this.call('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
        }
        await this.call('DELETE', '/actions');
    }

    // A click in the middle of the element, as a mouse makes it; `clickCount` 3 selects its text.
    async click(selector, { clickCount = 1 } = {}) {
        const origin = await this.call('POST', '/element', { using: 'css selector', value: selector });
        const actions = [{ type: 'pointerMove', origin, x: 0, y: 0 }];
        for (let i = 0; i < clickCount; i++)
            actions.push({ type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 });
        await this.call('POST', '/actions', {
            actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }],
        });
        await this.call('DELETE', '/actions');
    }
}
