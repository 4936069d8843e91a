// The catalogue page: the search, the list of parts, and the section of a
// part definition with a drawing of each gate, drawn when it is opened.
// Every text of the library reaches the page as a text node or an attribute
// value, never as markup.
'use strict';
(function () {
    const data = JSON.parse(document.getElementById('catalogue-data').textContent);
    const SVG = 'http://www.w3.org/2000/svg';
    const PAGE = 200; // parts listed at a time
    const PITCH = 16; // between pins
    const CHAR = 6.7; // width of a character of the drawing's font
    const PAD = 8;
    const LONG_TABLE = 300; // pins listed at once; a longer pin table opens on request
    const ACROSS = 16; // power pins along the top or bottom of a box at most

    // Pin type codes, as the KiCad import stores them: [name, side, mark].
    const PIN_TYPES = {
        1: ['input', 'left', 'input'],
        2: ['output', 'right', 'output'],
        3: ['bidirectional', 'right', 'bidirectional'],
        4: ['tri-state', 'right', 'tristate'],
        5: ['passive', 'either', 'passive'],
        6: ['free', 'either', 'free'],
        7: ['unspecified', 'either', 'unspecified'],
        8: ['power input', 'power', 'powerIn'],
        9: ['power output', 'power', 'powerOut'],
        10: ['open collector', 'right', 'openCollector'],
        11: ['open emitter', 'right', 'openEmitter'],
        12: ['not connected', 'either', 'noConnect'],
    };
    const GROUND = /^(~?\{?)?([ADPS]?GND|V(SS|EE)|0V|VNEG|V-)/i;

    // Part rows: name, number, description, PSpice data, version,
    // acceptance, type, folder, definition.
    const P_NAME = 0, P_NUMBER = 1, P_DESCRIPTION = 2, P_PSPICE = 3, P_VERSION = 4, P_ACCEPTANCE = 5, P_TYPE = 6,
        P_FOLDER = 7, P_DEFINITION = 8;
    // Pin rows: identifier, name, label, position, type, loading, signal,
    // equivalence group.
    const PIN_ID = 0, PIN_NAME = 1, PIN_LABEL = 2, PIN_POSITION = 3, PIN_TYPE = 4, PIN_LOADING = 5, PIN_SIGNAL = 6,
        PIN_EQUIV = 7;

    const parts = []; // {library, row}
    const byName = new Map();
    data.libraries.forEach((library, l) => {
        library.children = library.folders.map(() => []);
        library.folders.forEach((folder, f) => {
            if (folder[1] >= 0)
                library.children[folder[1]].push(f);
        });
        library.parts.forEach((row) => {
            const part = {library: l, row};
            parts.push(part);
            const named = byName.get(row[P_NAME]);
            if (named)
                named.push(part);
            else
                byName.set(row[P_NAME], [part]);
        });
    });

    const el = (tag, attributes, ...children) => {
        const node = document.createElement(tag);
        for (const [key, value] of Object.entries(attributes || {}))
            node.setAttribute(key, value);
        for (const child of children)
            if (child !== null && child !== undefined)
                node.append(child instanceof Node ? child : String(child));
        return node;
    };
    const svg = (tag, attributes, text) => {
        const node = document.createElementNS(SVG, tag);
        for (const [key, value] of Object.entries(attributes || {}))
            node.setAttribute(key, value);
        if (text !== undefined)
            node.textContent = text;
        return node;
    };
    const hue = (index) => `hsl(${(index * 137) % 360}, 62%, 40%)`;
    const text = (value) => (value === null || value === undefined ? '' : String(value));

    // Links: #part=NAME, with &library=NAME where two libraries hold the name.
    const partLink = (part) => {
        const name = part.row[P_NAME];
        let link = '#part=' + encodeURIComponent(name);
        if (byName.get(name).length > 1)
            link += '&library=' + encodeURIComponent(data.libraries[part.library].name);
        return link;
    };
    const hashParameters = () => {
        const parameters = new Map();
        for (const item of location.hash.replace(/^#/, '').split('&')) {
            if (!item)
                continue;
            const at = item.indexOf('=');
            const key = at < 0 ? item : item.slice(0, at);
            let value = at < 0 ? '' : item.slice(at + 1);
            try {
                value = decodeURIComponent(value);
            } catch (e) {
                // a malformed %-sequence is taken as written
            }
            parameters.set(key, value);
        }
        return parameters;
    };

    function folderPath(library, folder) {
        const names = [];
        for (let f = folder; f >= 0; f = library.folders[f][1])
            names.unshift(library.folders[f][0]);
        return names.join(' / ');
    }

    // ---- the search ----

    let haystacks = null; // per part, built at the first search
    function buildHaystacks() {
        const ofDefinition = data.libraries.map((library) =>
            library.definitions.map((definition) => definition.attributes.map((a) => a[1]).join('\n')));
        haystacks = parts.map((part) => {
            const row = part.row;
            return [row[P_NAME], text(row[P_NUMBER]), text(row[P_DESCRIPTION]),
                ofDefinition[part.library][row[P_DEFINITION]]].join('\n').toLowerCase();
        });
    }

    const state = {query: '', library: -1, folders: null, shown: PAGE, matches: parts.map((part, i) => i)};
    const searchBox = document.getElementById('search');
    const results = document.getElementById('results');
    const status = document.getElementById('status');
    const detail = document.getElementById('detail');
    let generation = 0;

    function subtree(library, folder) {
        const folders = new Set();
        const walk = (f) => {
            folders.add(f);
            data.libraries[library].children[f].forEach(walk);
        };
        walk(folder);
        return folders;
    }

    function search() {
        const words = state.query.toLowerCase().split(/\s+/).filter((word) => word);
        if (words.length && !haystacks)
            buildHaystacks();
        const matches = [];
        for (let i = 0; i < parts.length; ++i) {
            const part = parts[i];
            if (state.library >= 0 && part.library !== state.library)
                continue;
            if (state.folders && !state.folders.has(part.row[P_FOLDER]))
                continue;
            if (words.length) {
                const haystack = haystacks[i];
                if (!words.every((word) => haystack.includes(word)))
                    continue;
            }
            matches.push(i);
        }
        state.matches = matches;
        state.shown = PAGE;
        listResults();
        document.body.dataset.searchGeneration = String(++generation);
    }

    let pending = 0;
    function searchSoon() {
        if (!pending)
            pending = setTimeout(() => {
                pending = 0;
                state.query = searchBox.value;
                search();
            }, 0);
    }

    function listResults() {
        const list = el('ol', {id: 'result-list'});
        const current = hashParameters().get('part');
        for (const i of state.matches.slice(0, state.shown)) {
            const part = parts[i];
            const row = part.row;
            const about = [text(row[P_NUMBER]), text(row[P_DESCRIPTION])].filter((t) => t).join(' · ');
            list.append(el('li', row[P_NAME] === current ? {class: 'current'} : {},
                el('a', {href: partLink(part)}, el('span', {class: 'name'}, row[P_NAME]),
                    el('span', {class: 'about'}, about || data.libraries[part.library].name))));
        }
        results.replaceChildren(list);
        if (!state.matches.length)
            results.append(el('p', {class: 'none'}, 'No part matches.'));
        if (state.matches.length > state.shown) {
            const more = el('button', {type: 'button', id: 'more'},
                `Show ${Math.min(PAGE, state.matches.length - state.shown)} more of ${state.matches.length - state.shown}`);
            more.addEventListener('click', () => {
                state.shown += PAGE;
                listResults();
            });
            results.append(more);
        }
        status.textContent = `${state.matches.length.toLocaleString('en')} of ${parts.length.toLocaleString('en')} parts`;
    }

    // ---- the drawing of a gate ----

    function pinSide(pin, hidden) {
        if (hidden.has(text(pin[PIN_ID]).toLowerCase()))
            return 'hidden';
        const side = (PIN_TYPES[pin[PIN_TYPE]] || [null, 'either'])[1];
        if (side === 'power')
            return GROUND.test(text(pin[PIN_LABEL] || pin[PIN_NAME])) ? 'bottom' : 'top';
        return side;
    }

    // The pins of one gate by side, each side in stored order (by position,
    // then as linked). Pins of no fixed side go left; when one of the two
    // sides stays empty, the later half of the pins that may stand either
    // way moves to it.
    function layout(pins, hidden) {
        const sorted = pins.map((pin, i) => [pin, i]).sort((a, b) => {
            const pa = a[0][PIN_POSITION], pb = b[0][PIN_POSITION];
            if (pa !== pb)
                return pa === null ? 1 : pb === null ? -1 : pa - pb;
            return a[1] - b[1];
        }).map((entry) => entry[0]);
        const sides = {left: [], right: [], top: [], bottom: [], hidden: []};
        const flexible = (pin) => ['either', 'right'].includes((PIN_TYPES[pin[PIN_TYPE]] || [0, 'either'])[1]) &&
            ![2, 4, 10, 11].includes(pin[PIN_TYPE]);
        for (const pin of sorted) {
            const side = pinSide(pin, hidden);
            sides[side === 'either' ? 'left' : side].push(pin);
        }
        const balance = (from, to, laterHalf) => {
            const movable = sides[from].filter(flexible);
            if (sides[to].length || movable.length < 2)
                return;
            const moving = new Set(laterHalf ? movable.slice(Math.ceil(movable.length / 2))
                : movable.slice(0, Math.floor(movable.length / 2)));
            sides[to] = sides[from].filter((pin) => moving.has(pin));
            sides[from] = sides[from].filter((pin) => !moving.has(pin));
        };
        balance('left', 'right', true);
        balance('right', 'left', false);
        // More power pins than fit across a readable box (a bank of an
        // FPGA's supplies) stand at the sides instead: supplies left,
        // grounds right, shared again when one side would stay empty.
        if (Math.max(sides.top.length, sides.bottom.length) > ACROSS) {
            sides.left.push(...sides.top);
            sides.right.push(...sides.bottom);
            sides.top = [];
            sides.bottom = [];
            for (const [from, to] of [['left', 'right'], ['right', 'left']])
                if (!sides[to].length && sides[from].length > 1) {
                    const half = Math.ceil(sides[from].length / 2);
                    sides[to] = from === 'left' ? sides[from].slice(half) : sides[from].slice(0, half);
                    sides[from] = from === 'left' ? sides[from].slice(0, half) : sides[from].slice(half);
                }
        }
        return sides;
    }

    // A pin type's mark, drawn at the pin's outer end with the pin running
    // from (0, 0) towards the box along +x.
    function mark(kind) {
        const g = svg('g', {class: 'type-mark'});
        const add = (tag, attributes, filled) =>
            g.append(svg(tag, Object.assign({class: filled ? 'mark filled' : 'mark'}, attributes)));
        switch (kind) {
        case 'input': add('polygon', {points: '0,-4 8,0 0,4'}); break;
        case 'output': add('polygon', {points: '8,-4 0,0 8,4'}); break;
        case 'bidirectional': add('polygon', {points: '0,0 5,-4 10,0 5,4'}); break;
        case 'tristate':
            add('polygon', {points: '8,-4 0,0 8,4'});
            add('line', {x1: 10, y1: -4, x2: 10, y2: 4});
            break;
        case 'powerIn': add('circle', {cx: 4, cy: 0, r: 3.5}); break;
        case 'powerOut': add('circle', {cx: 4, cy: 0, r: 3.5}, true); break;
        case 'openCollector': add('rect', {x: 0, y: -3.5, width: 7, height: 7}); break;
        case 'openEmitter': add('rect', {x: 0, y: -3.5, width: 7, height: 7}, true); break;
        case 'noConnect':
            add('line', {x1: -4, y1: -4, x2: 4, y2: 4});
            add('line', {x1: -4, y1: 4, x2: 4, y2: -4});
            break;
        case 'unspecified': add('line', {x1: 3, y1: -4, x2: 3, y2: 4}); break;
        default: break; // passive and free: the plain line
        }
        return g;
    }

    function pinTitle(pin) {
        const type = PIN_TYPES[pin[PIN_TYPE]];
        return `${text(pin[PIN_ID])} ${text(pin[PIN_LABEL] || pin[PIN_NAME])} (${
            type ? type[0] : pin[PIN_TYPE] === null ? 'no type' : 'type ' + pin[PIN_TYPE]})`;
    }

    // One gate as a box with its pins around it, hidden pins in a dashed
    // box below it; `outline` is the colour of its swap group.
    function drawGate(pins, hidden, outline) {
        const sides = layout(pins, hidden);
        // The label holds the whole name, the name its first 10 bytes.
        const nameOf = (pin) => text(pin[PIN_LABEL] !== null ? pin[PIN_LABEL] : pin[PIN_NAME]);
        const longest = (list, of) => list.reduce((most, pin) => Math.max(most, of(pin).length), 0);
        const pinLength = Math.max(22, longest(pins, (pin) => text(pin[PIN_ID])) * CHAR + 12);
        const leftNames = longest(sides.left, nameOf) * CHAR, rightNames = longest(sides.right, nameOf) * CHAR;
        const topNames = sides.top.length ? longest(sides.top, nameOf) * CHAR + PAD : 0;
        const bottomNames = sides.bottom.length ? longest(sides.bottom, nameOf) * CHAR + PAD : 0;
        const across = Math.max(sides.top.length, sides.bottom.length);
        const width = Math.max(60, leftNames + rightNames + 3 * PAD, (across + 1) * PITCH);
        const rows = Math.max(sides.left.length, sides.right.length, 1);
        const height = topNames + bottomNames + (rows + 1) * PITCH;
        const hiddenWidth = sides.hidden.length ? longest(sides.hidden, pinTitle) * CHAR + 2 * PAD : 0;
        const x0 = pinLength + 2, y0 = sides.top.length ? pinLength + 2 : PAD;
        const boxBottom = y0 + height + (sides.bottom.length ? pinLength : 0);
        const hiddenHeight = sides.hidden.length ? (sides.hidden.length + 1) * PITCH + PAD : 0;
        const totalWidth = Math.max(x0 + width + pinLength + 2, hiddenWidth + 2);
        const totalHeight = boxBottom + (hiddenHeight ? hiddenHeight + PAD : PAD);

        const drawing = svg('svg', {class: 'gate-drawing', width: Math.ceil(totalWidth), height: Math.ceil(totalHeight),
            viewBox: `0 0 ${Math.ceil(totalWidth)} ${Math.ceil(totalHeight)}`, role: 'img'});
        drawing.append(svg('rect', {class: 'box', x: x0, y: y0, width, height,
            style: outline ? `stroke: ${outline}; stroke-width: 2.5` : ''}));

        const place = (pin, side, x, y) => {
            const type = PIN_TYPES[pin[PIN_TYPE]];
            const group = pin[PIN_EQUIV];
            const g = svg('g', {class: 'pin', 'data-pin': text(pin[PIN_ID]), 'data-side': side,
                'data-type': type ? type[2] : 'none'});
            if (group !== null)
                g.setAttribute('data-equiv', group);
            g.append(svg('title', {}, pinTitle(pin) + (group !== null ? `, equivalence group ${group + 1}` : '')));
            const colour = group !== null ? hue(group) : null;
            const angle = {left: 0, right: 180, top: 90, bottom: -90}[side];
            const dx = {left: -1, right: 1, top: 0, bottom: 0}[side], dy = {left: 0, right: 0, top: -1, bottom: 1}[side];
            const ox = x + dx * pinLength, oy = y + dy * pinLength;
            const line = svg('line', {x1: ox, y1: oy, x2: x, y2: y});
            if (colour)
                line.setAttribute('style', `stroke: ${colour}; stroke-width: 2.5`);
            g.append(line);
            const m = mark(type ? type[2] : 'none');
            m.setAttribute('transform', `translate(${ox},${oy}) rotate(${angle})`);
            g.append(m);
            const number = svg('text', {class: 'number'}, text(pin[PIN_ID]));
            const label = svg('text', {class: 'label'}, nameOf(pin));
            if (colour)
                number.setAttribute('style', `fill: ${colour}; font-weight: bold`);
            if (side === 'left' || side === 'right') {
                const out = side === 'left' ? -1 : 1;
                number.setAttribute('x', x + out * 4);
                number.setAttribute('y', y - 3);
                number.setAttribute('text-anchor', side === 'left' ? 'end' : 'start');
                label.setAttribute('x', x - out * 5);
                label.setAttribute('y', y + 4);
                label.setAttribute('text-anchor', side === 'left' ? 'start' : 'end');
            } else {
                const inward = side === 'top' ? 1 : -1;
                number.setAttribute('transform', `translate(${x - 3},${y - inward * 4}) rotate(-90)`);
                number.setAttribute('text-anchor', side === 'top' ? 'start' : 'end');
                label.setAttribute('transform', `translate(${x + 4},${y + inward * 5}) rotate(-90)`);
                label.setAttribute('text-anchor', side === 'top' ? 'end' : 'start');
            }
            g.append(number, label);
            drawing.append(g);
        };
        const firstRow = y0 + topNames + PITCH;
        sides.left.forEach((pin, i) => place(pin, 'left', x0, firstRow + i * PITCH));
        sides.right.forEach((pin, i) => place(pin, 'right', x0 + width, firstRow + i * PITCH));
        const acrossStart = (count) => x0 + (width - (count - 1) * PITCH) / 2;
        sides.top.forEach((pin, i) => place(pin, 'top', acrossStart(sides.top.length) + i * PITCH, y0));
        sides.bottom.forEach((pin, i) => place(pin, 'bottom', acrossStart(sides.bottom.length) + i * PITCH, y0 + height));

        if (sides.hidden.length) {
            const top = boxBottom + PAD;
            drawing.append(svg('rect', {class: 'hidden-box', x: 1, y: top, width: Math.max(hiddenWidth, totalWidth - 2),
                height: hiddenHeight}));
            drawing.append(svg('text', {class: 'note', x: PAD, y: top + PITCH - 3}, 'hidden pins'));
            sides.hidden.forEach((pin, i) => {
                const g = svg('g', {class: 'pin', 'data-pin': text(pin[PIN_ID]), 'data-side': 'hidden',
                    'data-type': (PIN_TYPES[pin[PIN_TYPE]] || [0, 0, 'none'])[2]});
                g.append(svg('text', {class: 'label', x: PAD, y: top + (i + 2) * PITCH - 3}, pinTitle(pin)));
                drawing.append(g);
            });
        }
        return drawing;
    }

    // ---- the section of a definition ----

    function table(columns, rows, rowAttributes) {
        const head = el('tr', {}, ...columns.map((column) => el('th', {}, column)));
        const body = el('tbody');
        rows.forEach((row, i) => {
            const tr = el('tr', rowAttributes ? rowAttributes(i) : {});
            for (const cell of row) {
                if (cell === null || cell === undefined)
                    tr.append(el('td', {class: 'null'}, 'NULL'));
                else if (typeof cell === 'number')
                    tr.append(el('td', {class: 'n'}, String(cell)));
                else
                    tr.append(el('td', {}, cell));
            }
            body.append(tr);
        });
        return el('table', {}, el('thead', {}, head), body);
    }

    function legend() {
        const items = el('p', {class: 'legend'}, 'Pin marks: ');
        for (const code of [1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12]) {
            const drawing = svg('svg', {width: 28, height: 12, viewBox: '-4 -6 28 12'});
            drawing.append(svg('line', {x1: 0, y1: 0, x2: 24, y2: 0, style: 'stroke: #333'}));
            const m = mark(PIN_TYPES[code][2]);
            drawing.append(m);
            items.append(drawing, ` ${PIN_TYPES[code][0]}  `);
        }
        items.append('. Inputs left, outputs right, power at the top, ground at the bottom; a coloured pin belongs ' +
            'to a pin-equivalence group, a coloured box to a gate-swap group.');
        return items;
    }

    // The gate-swap group of each gate: a member's pins all belong to it.
    function swapGroupsOfGates(definition, gatePinSets) {
        const groups = definition.gates.map(() => null);
        definition.gateSwaps.forEach((swap, s) => {
            for (const member of swap[1]) {
                const wanted = member[1].filter((pin) => pin !== null).map((pin) => pin.toLowerCase());
                const g = gatePinSets.findIndex((set, i) => groups[i] === null && wanted.length &&
                    wanted.every((pin) => set.has(pin)));
                if (g >= 0)
                    groups[g] = s;
            }
        });
        return groups;
    }

    function showDefinition(library, d, currentPart) {
        const lib = data.libraries[library];
        const definition = lib.definitions[d];
        const pinsById = new Map(definition.pins.map((pin) => [text(pin[PIN_ID]).toLowerCase(), pin]));
        const hidden = new Set();
        for (const attribute of definition.attributes)
            if (/^Hidden pins( \(\d+\))?$/.test(attribute[0]))
                attribute[1].split(/\s+/).filter((id) => id).forEach((id) => hidden.add(id.toLowerCase()));
        const gatePinSets = definition.gates.map((gate) =>
            new Set(gate[2].filter((pin) => pin !== null).map((pin) => pin.toLowerCase())));
        const swapOf = swapGroupsOfGates(definition, gatePinSets);
        const ownParts = lib.parts.filter((row) => row[P_DEFINITION] === d);

        const section = el('article', {class: 'definition', id: 'definition', 'data-definition': definition.name});
        section.append(el('h2', {}, definition.name));
        const sharePart = currentPart || (ownParts.length ? {library, row: ownParts[0]} : null);
        section.append(el('p', {class: 'where'}, `Part definition in library ${lib.name} · ${definition.pins.length} pins, ` +
            `${definition.gates.length} gates, ${ownParts.length} parts `,
            sharePart ? el('a', {class: 'share', href: partLink(sharePart)}, `link to ${sharePart.row[P_NAME]}`) : null));

        section.append(el('h3', {}, 'Gates'));
        const gates = el('div', {class: 'gates'});
        definition.gates.forEach((gate, g) => {
            const pins = gate[2].filter((id) => id !== null).map((id) =>
                pinsById.get(id.toLowerCase()) || [id, null, null, null, null, null, null, null]);
            const group = swapOf[g];
            const caption = el('figcaption', {}, gate[0], gate[1] !== null && gate[1] !== '' ? ` (alternate ${gate[1]})` : '',
                ` · ${pins.length} pins`,
                group !== null ? el('span', {class: 'badge', style: `background: ${hue(group + 3)}`},
                    `swaps in ${definition.gateSwaps[group][0]}`) : null);
            gates.append(el('figure', {class: 'gate', 'data-gate': gate[0], 'data-swap': group === null ? '' : group},
                caption, drawGate(pins, hidden, group !== null ? hue(group + 3) : null)));
        });
        const gated = new Set();
        gatePinSets.forEach((set) => set.forEach((pin) => gated.add(pin)));
        const loose = definition.pins.filter((pin) => !gated.has(text(pin[PIN_ID]).toLowerCase()));
        if (loose.length)
            gates.append(el('figure', {class: 'gate', 'data-gate': ''},
                el('figcaption', {}, definition.gates.length ? 'Pins of no gate' : 'Pins (the definition has no gate)',
                    ` · ${loose.length} pins`), drawGate(loose, hidden, null)));
        if (!definition.gates.length && !loose.length)
            gates.append(el('p', {class: 'none'}, 'No gates and no pins.'));
        section.append(gates, legend());

        section.append(el('h3', {}, 'Parts'));
        section.append(table(['Name', 'Number', 'Description', 'Version', 'Acceptance', 'Type', 'PSpice data', 'Folder'],
            ownParts.map((row) => [row[P_NAME], row[P_NUMBER], row[P_DESCRIPTION], row[P_VERSION], row[P_ACCEPTANCE],
                row[P_TYPE], row[P_PSPICE], folderPath(lib, row[P_FOLDER])]),
            (i) => (currentPart && ownParts[i] === currentPart.row ? {class: 'current', id: 'current-part'} : {})));

        section.append(el('h3', {}, 'Fields'));
        section.append(table(['Field', 'Value'], [
            ['PCB component name', definition.pcbComponentName], ['PCB alternate name', definition.pcbAlternateName],
            ['Value', definition.value], ['Component name stem', definition.componentNameStem],
            ['PSpice data', definition.pspiceData], ['Max connector pins', definition.maxConnectorPins],
            ['Gate swapping', definition.gateSwapping ? 'yes' : 'no'], ['Pin number is name', definition.pinNumName ? 'yes' : 'no'],
            ['FPGA', definition.isFPGA ? 'yes' : 'no']]));

        section.append(el('h3', {}, `Attributes (${definition.attributes.length})`));
        section.append(table(['Name', 'Value', 'Usage type', 'Read-only'], definition.attributes));

        section.append(el('h3', {}, `Gate swaps (${definition.gateSwaps.length})`));
        const swaps = el('ul', {class: 'swaps'});
        definition.gateSwaps.forEach((swap, s) => swaps.append(el('li', {},
            el('span', {class: 'swatch', style: `background: ${hue(s + 3)}`}), swap[0], ': ',
            swap[1].map((member) => `(${member[1].map(text).join(' ')})` + (member[0] ? ` type ${member[0]}` : '')).join(' ⇄ '))));
        section.append(swaps);

        section.append(el('h3', {}, `Pin equivalences (${definition.pinEquivalences.length})`));
        const equivalences = el('ul', {class: 'equivalences'});
        definition.pinEquivalences.forEach((group, e) => equivalences.append(el('li', {},
            el('span', {class: 'swatch', style: `background: ${hue(e)}`}), `group ${e + 1}: pins ${group.map(text).join(' ')}`)));
        section.append(equivalences);

        const gatesOfPin = new Map();
        definition.gates.forEach((gate) => gate[2].forEach((id) => {
            const key = text(id).toLowerCase();
            gatesOfPin.set(key, (gatesOfPin.has(key) ? gatesOfPin.get(key) + ' ' : '') + gate[0]);
        }));
        section.append(el('h3', {}, `Pins (${definition.pins.length})`));
        const pinTable = () => table(['Pin', 'Name', 'Label', 'Position', 'Type', 'Loading', 'Signal', 'Equivalence',
            'Gates', 'Hidden'], definition.pins.map((pin) => {
            const type = PIN_TYPES[pin[PIN_TYPE]];
            const key = text(pin[PIN_ID]).toLowerCase();
            return [pin[PIN_ID], pin[PIN_NAME], pin[PIN_LABEL], pin[PIN_POSITION],
                type ? type[0] : pin[PIN_TYPE], pin[PIN_LOADING], pin[PIN_SIGNAL],
                pin[PIN_EQUIV] === null ? '' : `group ${pin[PIN_EQUIV] + 1}`, gatesOfPin.get(key) || '',
                hidden.has(key) ? 'yes' : ''];
        }));
        if (definition.pins.length <= LONG_TABLE) {
            section.append(pinTable());
        } else {
            // A long table is made when it is first opened.
            const folded = el('details', {class: 'pins'}, el('summary', {}, `Show all ${definition.pins.length} pins`));
            folded.addEventListener('toggle', () => {
                if (folded.open && folded.children.length === 1)
                    folded.append(pinTable());
            });
            section.append(folded);
        }
        detail.replaceChildren(section);
        detail.scrollTop = 0; // the drawings first; the part's row is marked in the parts table
    }

    function showOverview() {
        const overview = el('article', {class: 'overview'}, el('h2', {}, data.title));
        overview.append(table(['Library', 'Enabled', 'Comment', 'Folders', 'Part definitions', 'Parts'],
            data.libraries.map((library) => [library.name, library.enabled ? 'yes' : 'no', library.comment,
                library.folders.length, library.definitions.length, library.parts.length])));
        overview.append(el('p', {}, 'Type in the search box to find parts by name, number, description or attribute ' +
            'value; choose a folder to list its parts; choose a part to see its definition with a drawing of each ' +
            'gate. The address of a part (#part=NAME) can be shared.'));
        detail.replaceChildren(overview);
    }

    function showPart(name, libraryName) {
        const named = (byName.get(name) || []).filter((part) =>
            libraryName === undefined || data.libraries[part.library].name === libraryName);
        if (!named.length) {
            detail.replaceChildren(el('article', {class: 'missing'}, el('h2', {}, 'No such part'),
                el('p', {}, `The catalogue holds no part named “${name}”.`)));
            return;
        }
        const part = named[0];
        showDefinition(part.library, part.row[P_DEFINITION], part);
        document.title = `${name} · ${data.title}`;
    }

    function selectInTree(selector) {
        for (const selected of document.querySelectorAll('nav#tree a.selected'))
            selected.classList.remove('selected');
        const chosen = selector && document.querySelector(selector);
        if (chosen)
            chosen.classList.add('selected');
    }

    // The address decides what the page shows.
    function route() {
        const parameters = hashParameters();
        let filtered = false;
        if (parameters.has('search') && parameters.get('search') !== searchBox.value) {
            searchBox.value = parameters.get('search');
            state.query = searchBox.value;
            filtered = true;
        }
        if (parameters.has('folder')) {
            // "all", a library's number, or library.folder
            const address = parameters.get('folder');
            const [l, f] = address.split('.').map(Number);
            if (address === 'all' || !data.libraries[l]) {
                state.library = -1;
                state.folders = null;
                selectInTree('a[data-folder="all"]');
            } else {
                state.library = l;
                state.folders = f >= 0 && data.libraries[l].folders[f] ? subtree(l, f) : null;
                selectInTree(`a[data-folder="${state.folders ? l + '.' + f : l}"]`);
            }
            filtered = true;
        }
        if (filtered)
            search();
        else
            listResults();
        if (parameters.has('part'))
            showPart(parameters.get('part'), parameters.has('library') ? parameters.get('library') : undefined);
        else if (!detail.firstChild)
            showOverview();
    }

    searchBox.addEventListener('input', searchSoon);
    window.addEventListener('hashchange', route);
    route();
    if (!location.hash)
        document.body.dataset.searchGeneration = String(generation);
    performance.mark('catalogue-ready');
    document.body.dataset.ready = 'true';
})();
