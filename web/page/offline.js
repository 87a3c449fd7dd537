// Registers the service worker that keeps the page's files, so that after one visit the page
// loads and plays with no network. A browser without workers simply goes to the server each time.
if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch((error) => {
        console.warn(`The page will not work offline: ${error.message}`);
    });
}
