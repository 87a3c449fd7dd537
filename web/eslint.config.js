// ESLint over the page and its tests: the recommended rules, and what the code needs besides.
// The packages are installed with the tests' (tests/package.json, pinned in its lock file).
import { createRequire } from 'node:module';

const require = createRequire(new URL('./tests/package.json', import.meta.url));
const js = require('@eslint/js');
const globals = require('globals');

export default [
    // Stryker's sandbox copies of the page and its report are not the page.
    { ignores: ['tests/node_modules/**', '.stryker-tmp/**', 'reports/**'] },
    js.configs.recommended,
    {
        linterOptions: { reportUnusedDisableDirectives: 'error' },
        rules: {
            eqeqeq: 'error',
            'no-var': 'error',
            'prefer-const': 'error',
            'no-shadow': 'error',
            'no-implicit-globals': 'error',
        },
    },
    {
        files: ['page/**/*.js'],
        languageOptions: {
            sourceType: 'module',
            // createQuorvale comes from quorvale.js, the compiled rules' loader.
            globals: { ...globals.browser, createQuorvale: 'readonly' },
        },
    },
    {
        // The rules' worker: the rules, their clock, the replay and the board's painter.
        files: ['page/engine.js', 'page/compiled.js', 'page/replayer.js'],
        languageOptions: { sourceType: 'module', globals: { ...globals.worker } },
    },
    {
        // The service worker is a script of its own, run by the browser beside the page.
        files: ['page/sw.js'],
        languageOptions: { sourceType: 'script', globals: { ...globals.serviceworker } },
    },
    {
        // The tests and the build's tools run under Node; what the tests hand to page.evaluate()
        // runs in the page.
        files: ['tests/**/*.mjs', 'tools/**/*.mjs', 'eslint.config.js'],
        languageOptions: { sourceType: 'module', globals: { ...globals.node, ...globals.browser } },
    },
];
