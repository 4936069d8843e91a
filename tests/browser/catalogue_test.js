// The catalogue page in headless Chromium: the sample library and a library
// of hostile texts and known pin layouts, written by the built partlib and
// read through the DOM.
//
//   node catalogue_test.js PARTLIB SAMPLELIB
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {Browser} = require('./cdp.js');

const [partlib, samplelib] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'catalogue-test-'));
const database = path.join(work, 'demo.db');
const page = path.join(work, 'catalogue.html');

const HOSTILE_LIBRARY = '<script>alert(1)</script> & "Lib"';
const HOSTILE_FOLDER = '</script><b id="injected">folder';
const HOSTILE_DEFINITION = '<img src=x onerror="window.injected=1">';
const HOSTILE_PART = '"><svg onload="window.injected=2"> ü+&amp;';

const pin = (identifier, name, position, type) =>
    ({identifier, name, label: name, position, type, loading: null, signal: null, equivGroup: null});
const definition = (name, pins, gates, extra = {}) => Object.assign({
    name, pcbComponentName: 'DIP-14', pcbAlternateName: null, value: name, componentNameStem: 'U', pspiceData: null,
    maxConnectorPins: pins.length, gateSwapping: false, pinNumName: false, isFPGA: false, pins, gates,
    gateSwaps: [], pinEquivalences: [], attributes: [],
}, extra);
const part = (name, description, folder, definitionName) => ({
    name, number: null, description, pspiceData: null, version: null, acceptance: null, type: 1, folder,
    definition: definitionName,
});

// NAND: two gates that swap, inputs 1 2 / 4 5, outputs 3 / 6, VCC 14 and
// GND 7 in a power gate, a hidden pin H; pins 1 and 4 equivalent.
const nandPins = [pin('1', 'A', 1, 1), pin('2', 'B', 2, 1), pin('3', 'Y', 3, 2), pin('4', 'A', 4, 1),
    pin('5', 'B', 5, 1), pin('6', 'Y', 6, 2), pin('7', 'GND', 7, 8), pin('14', 'VCC', 14, 8),
    pin('H', '<i>hid</i>', 15, 8)];
nandPins[0].equivGroup = 0;
nandPins[3].equivGroup = 0;
const library = {
    format: 1,
    libraries: [{
        name: HOSTILE_LIBRARY, enabled: true, comment: '<!-- comment -->',
        folders: [{name: HOSTILE_FOLDER, folders: [{name: 'Logic', folders: []}]}],
        partDefinitions: [
            definition(HOSTILE_DEFINITION, [pin('1', '<b>x</b>', 1, 5), pin('2', 'y', 2, 5)],
                [{name: 'R', altName: null, pins: ['1', '2']}],
                {attributes: [{name: 'Note', value: '</script><script>window.injected=3</script>', usageType: 0,
                    readOnly: 0}]}),
            definition('NAND2', nandPins, [
                {name: 'NAND2_A', altName: null, pins: ['1', '2', '3']},
                {name: 'NAND2_B', altName: null, pins: ['4', '5', '6']},
                {name: 'NAND2_P', altName: null, pins: ['14', '7', 'H']}],
            {gateSwapping: true, gateSwaps: [{name: 'Units 1-2', gates: [{equivType: 0, pins: ['1', '2', '3']},
                {equivType: 0, pins: ['4', '5', '6']}]}], pinEquivalences: [{pins: ['1', '4']}],
            attributes: [{name: 'Hidden pins', value: 'H', usageType: 0, readOnly: 0},
                {name: 'Keywords', value: 'zebracrossing', usageType: 0, readOnly: 0}]}),
            // An FPGA bank: 310 bidirectional pins, shared between the sides.
            definition('BANK', Array.from({length: 310}, (_, i) => pin(`IO${i + 1}`, `IO_${i + 1}`, i + 1, 3)),
                [{name: 'BANK_1', altName: null, pins: Array.from({length: 310}, (_, i) => `IO${i + 1}`)}],
                {isFPGA: true}),
        ],
        parts: [part('BANK-1', 'a bank', [HOSTILE_FOLDER], 'BANK'), part(HOSTILE_PART, 'a hostile part', [HOSTILE_FOLDER], HOSTILE_DEFINITION),
            part('NAND2-X', 'two NAND gates', [HOSTILE_FOLDER, 'Logic'], 'NAND2')],
    }],
};

let browser, tab;

test.before(async () => {
    execFileSync(partlib, ['init', database, '--yes'], {stdio: 'ignore'});
    execFileSync(samplelib, [database], {stdio: 'ignore'});
    fs.writeFileSync(path.join(work, 'hostile.json'), JSON.stringify(library));
    execFileSync(partlib, ['import', database, path.join(work, 'hostile.json'), '--yes'], {stdio: 'ignore'});
    execFileSync(partlib, ['catalogue', database, '-o', page, '--title', '<Title> & "q"']);
    browser = await Browser.launch();
    tab = await browser.newPage();
});

test.after(async () => {
    if (browser)
        await browser.close();
    fs.rmSync(work, {recursive: true, force: true});
});

async function open(fragment) {
    await tab.open('about:blank');
    tab.problems.length = 0;
    await tab.open('file://' + page + fragment);
    assert.equal(await tab.evaluate('document.body.dataset.ready'), 'true');
}

// Types into the search box as a user would and waits for the list.
async function type(text) {
    return tab.evaluate(`new Promise((resolve) => {
        const before = document.body.dataset.searchGeneration;
        const box = document.getElementById('search');
        box.value = ${JSON.stringify(text)};
        box.dispatchEvent(new Event('input', {bubbles: true}));
        const wait = () => document.body.dataset.searchGeneration !== before ? resolve(
            [...document.querySelectorAll('#result-list .name')].map((e) => e.textContent)) : setTimeout(wait, 5);
        wait();
    })`);
}

test('the page loads without a console error and lists every part', async () => {
    await open('');
    assert.deepEqual(tab.problems, []);
    assert.equal(await tab.evaluate('document.title'), '<Title> & "q"');
    assert.equal(await tab.evaluate('document.getElementById("status").textContent'), '303 of 303 parts');
    assert.equal(await tab.evaluate('document.querySelectorAll("#result-list li").length'), 200);
    // Folder counts: the library's and its folders', nested.
    const counts = await tab.evaluate(`[...document.querySelectorAll('nav#tree li.library')].map((li) =>
        li.querySelector('a').textContent + '=' + li.querySelector('.count').textContent)`);
    assert.deepEqual(counts, [HOSTILE_LIBRARY + '=3', 'Demo=300']);
});

test('hostile texts arrive as text and inject nothing', async () => {
    await open('#part=' + encodeURIComponent(HOSTILE_PART));
    assert.deepEqual(tab.problems, []);
    const found = await tab.evaluate(`({
        injected: window.injected === undefined ? null : window.injected,
        elements: document.querySelectorAll('#injected, img, i, b, svg[onload], script:not([nonce]):not([type])').length,
        heading: document.querySelector('#detail h2').textContent,
        part: document.querySelector('tr.current td').textContent,
        folder: document.querySelector('nav#tree li.library ul a').textContent,
        note: [...document.querySelectorAll('#detail td')].some((td) => td.textContent.includes('window.injected=3')),
        pin: document.querySelector('g.pin[data-pin="1"] .label').textContent,
    })`);
    assert.deepEqual(found, {injected: null, elements: 0, heading: HOSTILE_DEFINITION, part: HOSTILE_PART,
        folder: HOSTILE_FOLDER, note: true, pin: '<b>x</b>'});
});

test('the search filters by name, description and attribute value as one types', async () => {
    await open('');
    assert.deepEqual(await type('nand2'), ['NAND2-X']);
    assert.deepEqual(await type('zebracross'), ['NAND2-X']); // an attribute value
    assert.deepEqual(await type('hostile part'), [HOSTILE_PART]); // words of the description
    assert.deepEqual(await type('no such thing anywhere'), []);
    assert.equal(await tab.evaluate('document.querySelector("#results .none").textContent'), 'No part matches.');
    const demo = await type('demo-c1');
    assert.ok(demo.length > 10 && demo.every((name) => name.toLowerCase().startsWith('demo-c1')), demo.join());
    assert.equal((await type('')).length, 200);
    assert.deepEqual(tab.problems, []);
});

test('a search link and a folder link filter the list', async () => {
    await open('#search=' + encodeURIComponent('NAND2-X'));
    assert.equal(await tab.evaluate('document.getElementById("search").value'), 'NAND2-X');
    assert.deepEqual(await tab.evaluate('[...document.querySelectorAll("#result-list .name")].map((e) => e.textContent)'),
        ['NAND2-X']);
    await open('#folder=0.1'); // Logic, below the hostile folder
    assert.deepEqual(await tab.evaluate('[...document.querySelectorAll("#result-list .name")].map((e) => e.textContent)'),
        ['NAND2-X']);
    await open('#folder=0.0'); // the hostile folder and what is below it
    assert.equal(await tab.evaluate('document.querySelectorAll("#result-list li").length'), 3);
    assert.deepEqual(tab.problems, []);
});

test('a part link opens its section and a click on a listed part opens another', async () => {
    await open('#part=NAND2-X');
    assert.equal(await tab.evaluate('document.querySelector("#detail h2").textContent'), 'NAND2');
    assert.equal(await tab.evaluate('document.querySelector("#detail tr.current td").textContent'), 'NAND2-X');
    assert.equal(await tab.evaluate('document.querySelector("#detail a.share").getAttribute("href")'), '#part=NAND2-X');
    await type('Demo-C104');
    await tab.evaluate('document.querySelector("#result-list a").click()');
    await tab.evaluate('new Promise((resolve) => setTimeout(resolve, 50))');
    assert.equal(await tab.evaluate('location.hash'), '#part=Demo-C104-22p-C0805');
    assert.equal(await tab.evaluate('document.querySelector("#detail tr.current td").textContent'),
        'Demo-C104-22p-C0805');
    await open('#part=' + encodeURIComponent('not a part'));
    assert.equal(await tab.evaluate('document.querySelector("#detail h2").textContent'), 'No such part');
    assert.deepEqual(tab.problems, []);
});

test('the gates are drawn with inputs left, outputs right, power top and bottom, hidden pins apart', async () => {
    await open('#part=NAND2-X');
    const sides = await tab.evaluate(`Object.fromEntries([...document.querySelectorAll('figure.gate')].map((f) =>
        [f.dataset.gate, [...f.querySelectorAll('g.pin')].map((g) => g.dataset.pin + ':' + g.dataset.side + ':' +
            g.dataset.type).join(' ')]))`);
    assert.deepEqual(sides, {
        NAND2_A: '1:left:input 2:left:input 3:right:output',
        NAND2_B: '4:left:input 5:left:input 6:right:output',
        NAND2_P: '14:top:powerIn 7:bottom:powerIn H:hidden:powerIn', // drawn side by side
    });
    // Both NAND gates are in the swap group, the power gate is not; pins 1
    // and 4 are marked as one equivalence group.
    assert.deepEqual(await tab.evaluate('[...document.querySelectorAll("figure.gate")].map((f) => f.dataset.swap)'),
        ['0', '0', '']);
    assert.deepEqual(await tab.evaluate('[...document.querySelectorAll("g.pin[data-equiv]")].map((g) => g.dataset.pin)'),
        ['1', '4']);
    // Geometry: an input's pin ends left of its box, an output's right of it.
    const ends = await tab.evaluate(`(() => {
        const figure = document.querySelector('figure.gate[data-gate="NAND2_A"]');
        const box = figure.querySelector('rect.box').getBBox();
        const x = (pin) => figure.querySelector('g.pin[data-pin="' + pin + '"] line').getBBox();
        return [x(1).x + x(1).width <= box.x + 0.5, x(3).x >= box.x + box.width - 0.5];
    })()`);
    assert.deepEqual(ends, [true, true]);
    // Passive pins of a one-gate definition are shared between both sides.
    await open('#part=' + encodeURIComponent(HOSTILE_PART));
    assert.deepEqual(await tab.evaluate('[...document.querySelectorAll("g.pin")].map((g) => g.dataset.side)'),
        ['left', 'right']);
    assert.deepEqual(tab.problems, []);
});

test('a large gate is split between both sides and its long pin table opens on request', async () => {
    await open('#part=BANK-1');
    const sides = await tab.evaluate(`[...document.querySelectorAll('g.pin')].map((g) => g.dataset.side)`);
    assert.equal(sides.length, 310);
    assert.deepEqual(sides.slice(154, 156), ['left', 'right']);
    assert.equal(sides.filter((side) => side === 'left').length, 155);
    // The box grows with its pins: 155 rows of pins.
    assert.ok(await tab.evaluate('document.querySelector("rect.box").getBBox().height') >= 155 * 16);
    assert.equal(await tab.evaluate('document.querySelectorAll("details.pins table").length'), 0);
    await tab.evaluate('document.querySelector("details.pins summary").click()');
    await tab.evaluate('new Promise((resolve) => setTimeout(resolve, 50))');
    assert.equal(await tab.evaluate('document.querySelectorAll("details.pins tbody tr").length'), 310);
    assert.deepEqual(tab.problems, []);
});
