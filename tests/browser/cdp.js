// A small client of the Chrome DevTools protocol for the catalogue's browser
// tests, screenshots and benchmark: headless Chromium started with
// --remote-debugging-pipe (commands on its descriptor 3, answers and events
// on 4, each message a JSON text ended by a NUL byte) and an empty profile of
// its own, removed again by close().
'use strict';
const {spawn} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';

class Page {
    constructor(browser, sessionId) {
        this.browser = browser;
        this.sessionId = sessionId;
        this.problems = []; // console errors and uncaught exceptions, as texts
        this.waiters = [];
    }

    send(method, params) {
        return this.browser.send(method, params, this.sessionId);
    }

    event(method, params) {
        if (method === 'Runtime.exceptionThrown') {
            const details = params.exceptionDetails;
            this.problems.push('exception: ' + (details.exception ? details.exception.description : details.text));
        } else if (method === 'Runtime.consoleAPICalled' && ['error', 'assert', 'warning'].includes(params.type)) {
            this.problems.push(`console.${params.type}: ` + params.args.map((a) => a.value ?? a.description).join(' '));
        } else if (method === 'Log.entryAdded' && ['error', 'warning'].includes(params.entry.level)) {
            this.problems.push(`log ${params.entry.level}: ${params.entry.text}`);
        }
        this.waiters = this.waiters.filter((waiter) => !(waiter.method === method && (waiter.resolve(params), true)));
    }

    waitFor(method) {
        return new Promise((resolve) => this.waiters.push({method, resolve}));
    }

    async open(url) {
        const loaded = this.waitFor('Page.loadEventFired');
        await this.send('Page.navigate', {url});
        await loaded;
    }

    // The value of an expression (awaited when it is a promise); a thrown
    // error is raised here.
    async evaluate(expression) {
        const answer = await this.send('Runtime.evaluate', {expression, awaitPromise: true, returnByValue: true});
        if (answer.exceptionDetails)
            throw new Error('evaluating ' + expression.slice(0, 80) + ': ' +
                (answer.exceptionDetails.exception ? answer.exceptionDetails.exception.description
                    : answer.exceptionDetails.text));
        return answer.result.value;
    }

    // A PNG of the page, as a Buffer; `whole` takes the element given by a
    // selector, with all of its content, instead of the viewport.
    async screenshot(selector) {
        const params = {format: 'png'};
        if (selector) {
            const box = await this.evaluate(`(() => { const e = document.querySelector(${JSON.stringify(selector)});
                e.scrollIntoView(); const r = e.getBoundingClientRect();
                return {x: r.x + scrollX, y: r.y + scrollY, width: r.width, height: r.height}; })()`);
            params.clip = Object.assign(box, {scale: 1});
            params.captureBeyondViewport = true;
        }
        return Buffer.from((await this.send('Page.captureScreenshot', params)).data, 'base64');
    }
}

class Browser {
    static async launch({width = 1400, height = 900} = {}) {
        const browser = new Browser();
        browser.profile = fs.mkdtempSync(path.join(os.tmpdir(), 'catalogue-chromium-'));
        browser.process = spawn(CHROMIUM, [
            '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--remote-debugging-pipe', `--user-data-dir=${browser.profile}`, `--window-size=${width},${height}`,
            'about:blank',
        ], {stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe']});
        browser.stderr = '';
        browser.process.stderr.on('data', (chunk) => { browser.stderr += chunk; });
        browser.exited = new Promise((resolve) => browser.process.on('exit', resolve));
        browser.process.on('error', (error) => browser.fail(error));
        browser.next = 1;
        browser.calls = new Map();
        browser.pages = new Map();
        let pending = '';
        browser.process.stdio[4].on('data', (chunk) => {
            pending += chunk.toString('utf8');
            let end;
            while ((end = pending.indexOf('\0')) >= 0) {
                browser.receive(JSON.parse(pending.slice(0, end)));
                pending = pending.slice(end + 1);
            }
        });
        browser.exited.then((code) => browser.fail(new Error(`chromium ended (${code}): ${browser.stderr.slice(-2000)}`)));
        await browser.send('Browser.getVersion');
        return browser;
    }

    fail(error) {
        for (const call of this.calls.values())
            call.reject(error);
        this.calls.clear();
    }

    receive(message) {
        if (message.id !== undefined) {
            const call = this.calls.get(message.id);
            this.calls.delete(message.id);
            if (!call)
                return;
            if (message.error)
                call.reject(new Error(`${call.method}: ${message.error.message}`));
            else
                call.resolve(message.result);
        } else if (message.sessionId && this.pages.has(message.sessionId)) {
            this.pages.get(message.sessionId).event(message.method, message.params);
        }
    }

    send(method, params = {}, sessionId = undefined) {
        const id = this.next++;
        const message = {id, method, params};
        if (sessionId)
            message.sessionId = sessionId;
        return new Promise((resolve, reject) => {
            this.calls.set(id, {method, resolve, reject});
            this.process.stdio[3].write(JSON.stringify(message) + '\0');
        });
    }

    async newPage({width = 1400, height = 900} = {}) {
        const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'});
        const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
        const page = new Page(this, sessionId);
        this.pages.set(sessionId, page);
        await page.send('Page.enable');
        await page.send('Runtime.enable');
        await page.send('Log.enable');
        await page.send('Emulation.setDeviceMetricsOverride', {width, height, deviceScaleFactor: 1, mobile: false});
        return page;
    }

    async close() {
        try {
            await Promise.race([this.send('Browser.close'), this.exited]);
        } catch (e) {
            // it is ending anyway
        }
        const timer = setTimeout(() => this.process.kill('SIGKILL'), 5000);
        await this.exited;
        clearTimeout(timer);
        fs.rmSync(this.profile, {recursive: true, force: true});
    }
}

module.exports = {Browser};
