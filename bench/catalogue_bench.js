// The catalogue of a large database: the time partlib takes to write it,
// its size, and in headless Chromium the time to the first paint, to the
// page being ready, to filter by a search as one types, and to open the
// largest part definition.
//
//   node bench/catalogue_bench.js build/partlib kall.db [runs]
'use strict';
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {Browser} = require('../tests/browser/cdp.js');

const [partlib, database, runsText] = process.argv.slice(2);
const runs = Number(runsText || 3);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'catalogue-bench-'));
const page = path.join(work, 'catalogue.html');
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
const row = (what, values, unit) =>
    console.log(`${what.padEnd(44)} ${String(median(values).toFixed(1)).padStart(9)} ${unit.padEnd(3)}` +
        `  (runs: ${values.map((v) => v.toFixed(1)).join(', ')})`);

(async () => {
    const writes = [];
    for (let i = 0; i < runs; ++i) {
        const start = process.hrtime.bigint();
        execFileSync(partlib, ['catalogue', database, '-o', page]);
        writes.push(Number(process.hrtime.bigint() - start) / 1e6);
    }
    const size = fs.statSync(page).size;
    // The export of the same libraries, which reads the same rows.
    const exports = [];
    for (let i = 0; i < runs; ++i) {
        const start = process.hrtime.bigint();
        execFileSync(partlib, ['export', database, '-o', path.join(work, 'export.json')]);
        exports.push(Number(process.hrtime.bigint() - start) / 1e6);
    }
    const exportSize = fs.statSync(path.join(work, 'export.json')).size;
    const results = {paint: [], ready: [], first: [], typed: [], narrow: [], clear: [], open: []};
    let parts = '';
    const browser = await Browser.launch();
    try {
        for (let i = 0; i < runs; ++i) {
            const tab = await browser.newPage();
            await tab.open('file://' + page);
            const times = await tab.evaluate(`({
                paint: performance.getEntriesByName('first-contentful-paint')[0].startTime,
                ready: performance.getEntriesByName('catalogue-ready')[0].startTime,
                parts: document.getElementById('status').textContent })`);
            results.paint.push(times.paint);
            results.ready.push(times.ready);
            parts = times.parts;
            // One keystroke after another, each measured until the list is
            // drawn again (the next frame).
            const search = (text) => tab.evaluate(`new Promise((resolve) => {
                const start = performance.now();
                const before = document.body.dataset.searchGeneration;
                const box = document.getElementById('search');
                box.value = ${JSON.stringify(text)};
                box.dispatchEvent(new Event('input', {bubbles: true}));
                const wait = () => document.body.dataset.searchGeneration !== before
                    ? requestAnimationFrame(() => resolve(performance.now() - start)) : setTimeout(wait, 0);
                wait();
            })`);
            results.first.push(await search('l'));
            results.typed.push(await search('lm'));
            results.narrow.push(await search('lm358'));
            results.clear.push(await search(''));
            results.open.push(await tab.evaluate(`new Promise((resolve) => {
                const start = performance.now();
                location.hash = 'part=XC7V2000T-FLG1925';
                requestAnimationFrame(() => setTimeout(() => resolve(performance.now() - start), 0));
            })`));
            if (tab.problems.length)
                throw new Error('console: ' + tab.problems.join('; '));
            await browser.send('Target.closeTarget', {targetId: (await tab.send('Target.getTargetInfo')).targetInfo.targetId});
        }
    } finally {
        await browser.close();
        fs.rmSync(work, {recursive: true, force: true});
    }
    console.log(`catalogue of ${database}: ${parts}, ${(size / 1e6).toFixed(1)} MB`);
    row('partlib catalogue (write the file)', writes, 'ms');
    row(`partlib export (${(exportSize / 1e6).toFixed(1)} MB library file)`, exports, 'ms');
    console.log(`catalogue / export: time ${(median(writes) / median(exports)).toFixed(2)}, ` +
        `size ${(size / exportSize).toFixed(2)}`);
    row('first contentful paint', results.paint, 'ms');
    row('page ready (data parsed, list drawn)', results.ready, 'ms');
    row('search "l" (first, builds the index)', results.first, 'ms');
    row('search "lm" (next keystroke)', results.typed, 'ms');
    row('search "lm358"', results.narrow, 'ms');
    row('search cleared', results.clear, 'ms');
    row('open XC7V2000T-FLG1925 (1,924 pins)', results.open, 'ms');
})().catch((error) => {
    console.error(error);
    process.exit(1);
});
