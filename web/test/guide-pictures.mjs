// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's guide's pictures of the quiz's page, taken from the built site in Debian's
// Chromium: the page on question 1, the page once the quiz's window is closed, and the page in
// a browser without WebGL. Run by `script/web --pictures`, which writes them into docs/guide/.
//
// Usage: node guide-pictures.mjs SITE OUT_DIR
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serve } from '../serve.mjs';

const [site, out] = process.argv.slice(2);
if (!site || !out) {
    console.error('usage: node guide-pictures.mjs SITE OUT_DIR');
    process.exit(2);
}
mkdirSync(out, { recursive: true });

function withoutWebGL() {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return /webgl/.test(kind) ? null : getContext.call(this, kind, ...rest);
    };
}

const server = await serve(site);
const address = `http://localhost:${server.address().port}/`;
const browser = await puppeteer.launch({
    executablePath: process.env.REFS_QUIZ_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run', '--hide-scrollbars',
        '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});

// A desktop browser's window with the page as a pupil sees it.
async function open(webgl = true) {
    const page = await browser.newPage();
    await page.setViewport({ width: 960, height: 680, deviceScaleFactor: 1 });
    if (!webgl)
        await page.evaluateOnNewDocument(withoutWebGL);
    await page.goto(address);
    return page;
}

async function onScreen(page, screen) {
    await page.waitForFunction((name) => document.body.dataset.screen === name, { timeout: 60000 }, screen);
    // The screen is drawn in the frame after it is named; two frames make sure it is on show.
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
}

// What is on show, with a margin of the page around it.
async function shoot(page, name, selector) {
    const path = join(out, name);
    const box = await (await page.$(selector)).boundingBox();
    const margin = 24;
    const x = Math.max(0, Math.floor(box.x) - margin);
    const y = Math.max(0, Math.floor(box.y) - margin);
    const clip = { x, y, width: Math.ceil(box.x + box.width) + margin - x, height: Math.ceil(box.y + box.height) + margin - y };
    await page.screenshot({ path, clip });
    console.log(`guide-pictures: ${path}`);
}

try {
    const page = await open();
    await onScreen(page, 'Form6');
    // The instructions' only control, "Начать тест", has the keyboard's focus.
    await page.focus('#screen');
    await page.keyboard.press('Enter');
    await onScreen(page, 'Form2');
    await shoot(page, 'browser-question.png', '#window');
    await page.click('#close');
    await page.waitForSelector('#restart:not([hidden])');
    await shoot(page, 'browser-closed.png', '#message');
    await page.close();

    const bare = await open(false);
    await bare.waitForSelector('#message:not([hidden])');
    await shoot(bare, 'browser-no-webgl.png', '#message');
} finally {
    await browser.close();
    server.close();
}
