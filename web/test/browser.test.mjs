// SPDX-License-Identifier: GPL-3.0-or-later
// The site in Debian's Chromium, headless: each run opens the page afresh, as a pupil would,
// and checks what appears. script/web --test builds the site and runs this; by hand, from this
// folder: `npm ci && npm test`, with REFS_QUIZ_SITE naming a built site folder if it is not
// build-web/site. The browser gets no network beyond the server here.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync, mkdtempSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { PNG } from 'pngjs';
import { serve } from '../serve.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const site = resolve(process.env.REFS_QUIZ_SITE ?? join(here, '../../build-web/site'));
const references = join(here, '../../tests/reference');
const axeSource = createRequire(import.meta.url).resolve('axe-core/axe.min.js');

// Each run: what is done on the page, if anything, then what must be seen. A screen is named by
// its reference picture and must appear within the time given, pixel for pixel.
const runs = [
    {
        name: 'the title screen appears as on the desktop, on a page without accessibility faults',
        screen: 'form1',
        pageTitle: 'Ссылки в Excel',
        axe: true,
    },
];

let server;
let browser;

before(async () => {
    server = await serve(site);
    browser = await puppeteer.launch({
        executablePath: process.env.REFS_QUIZ_CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        args: [
            '--no-sandbox', // as root
            // Nothing but the local server is reachable: no updates, no sync, no first-run page.
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--no-first-run',
            // WebGL without a GPU: ANGLE over SwiftShader, Chromium's software renderer.
            '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        ],
    });
});

after(async () => {
    await browser?.close();
    server?.close();
});

async function open() {
    const page = await browser.newPage();
    await page.setViewport({ width: 1024, height: 768, deviceScaleFactor: 1 });
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(`http://localhost:${server.address().port}/`);
    return { page, errors };
}

function readPng(path) {
    return PNG.sync.read(readFileSync(path));
}

// The browser's Qt draws the antialiased edges of some glyphs one level lighter or darker than
// the desktop's; anything more is a different picture.
const Tolerance = 2;

// Where the picture lies in the shot, if it does: a few scattered pixels rule out most places
// cheaply (the screens have large plain areas), then every pixel must match.
function find(shot, picture) {
    const samples = [];
    for (let i = 0; i < 97; ++i)
        samples.push([(i * 7919) % picture.width, (i * 104729) % picture.height]);
    const same = (x0, y0, x, y) => {
        const a = ((y0 + y) * shot.width + x0 + x) * 4;
        const b = (y * picture.width + x) * 4;
        return Math.abs(shot.data[a] - picture.data[b]) <= Tolerance
            && Math.abs(shot.data[a + 1] - picture.data[b + 1]) <= Tolerance
            && Math.abs(shot.data[a + 2] - picture.data[b + 2]) <= Tolerance;
    };
    for (let y0 = 0; y0 + picture.height <= shot.height; ++y0) {
        for (let x0 = 0; x0 + picture.width <= shot.width; ++x0) {
            if (!samples.every(([x, y]) => same(x0, y0, x, y)))
                continue;
            let differing = 0;
            for (let y = 0; y < picture.height; ++y)
                for (let x = 0; x < picture.width; ++x)
                    differing += same(x0, y0, x, y) ? 0 : 1;
            if (differing === 0)
                return { x: x0, y: y0 };
        }
    }
    return null;
}

async function expectScreen(page, name, timeoutMs = 30000) {
    const picture = readPng(join(references, `${name}.png`));
    const deadline = Date.now() + timeoutMs;
    let shot;
    do {
        shot = PNG.sync.read(Buffer.from(await page.screenshot({ type: 'png' })));
        const place = find(shot, picture);
        if (place)
            return place;
    } while (Date.now() < deadline);
    const saved = join(mkdtempSync(join(tmpdir(), 'refs-quiz-web-')), `${name}-seen.png`);
    writeFileSync(saved, PNG.sync.write(shot));
    assert.fail(`${name} did not appear within ${timeoutMs} ms; the page last looked like ${saved}`);
}

async function axeViolations(page) {
    await page.addScriptTag({ path: axeSource });
    const result = await page.evaluate(() => window.axe.run(document));
    return result.violations.map((v) => `${v.id}: ${v.help} (${v.nodes.map((n) => n.target).join(', ')})`);
}

for (const run of runs) {
    test(run.name, async () => {
        const { page, errors } = await open();
        try {
            if (run.act)
                await run.act(page);
            if (run.screen)
                await expectScreen(page, run.screen);
            if (run.pageTitle)
                assert.equal(await page.title(), run.pageTitle);
            if (run.axe)
                assert.deepEqual(await axeViolations(page), []);
            assert.deepEqual(errors, []);
        } finally {
            await page.close();
        }
    });
}
