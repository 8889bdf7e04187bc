// SPDX-License-Identifier: GPL-3.0-or-later
// The quiz's page against the bare window's, in headless Chromium with an empty cache each time:
// bytes over the wire (as the server sends them, compressed) and the time from navigation to the
// program's first drawing call into WebGL. The runs alternate, so that other work on the machine
// falls on both alike. In each of the quiz's runs, then, how long the title stood (its first
// drawing to the next screen's) and how long a click took to bring up the next screen (release
// of the button to the next screen's first drawing), on three screens. script/web --bench builds
// both sites and runs this.
//
// Usage: node bench.mjs QUIZ_SITE BARE_SITE [RUNS]
import puppeteer from 'puppeteer-core';
import { serve } from '../serve.mjs';

const [quizSite, bareSite, runsText = '7'] = process.argv.slice(2);
const runs = Number(runsText);

const browser = await puppeteer.launch({
    executablePath: process.env.REFS_QUIZ_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run',
        '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});

// The first draw call of any WebGL context, in milliseconds since navigation started, and the
// first after each screen the page was told of (body's data-screen).
function watchFirstDraw() {
    window.screenDrawnMs = [];
    let screenDrawn = true;
    for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
        for (const name of ['drawArrays', 'drawElements']) {
            const draw = type.prototype[name];
            type.prototype[name] = function (...args) {
                const now = performance.now();
                window.firstDrawMs ??= now;
                if (!screenDrawn) {
                    screenDrawn = true;
                    window.screenDrawnMs.push([document.body.dataset.screen, now]);
                }
                return draw.apply(this, args);
            };
        }
    }
    document.addEventListener('DOMContentLoaded', () => {
        new MutationObserver(() => { screenDrawn = false; })
            .observe(document.body, { attributes: true, attributeFilter: ['data-screen'] });
    });
    window.releasedMs = [];
    document.addEventListener('pointerup', (event) => window.releasedMs.push(event.timeStamp), true);
}

// The buttons that move on, in twips from the client area's corner, as the design places them.
const moveOn = [['Form6', 5047, 6727], ['Form2', 7987, 6607], ['Form7', 8347, 6607]];

async function drawnAfter(page, screen) {
    await page.waitForFunction((name) => window.screenDrawnMs.some(([s]) => s === name),
        { timeout: 30000 }, screen);
    return page.evaluate((name) => window.screenDrawnMs.find(([s]) => s === name)[1], screen);
}

// The quiz from its title through three screens moved on by a click.
async function measureQuiz(page) {
    const title = await drawnAfter(page, 'Form1');
    const handOvers = [];
    let titleMs;
    for (const [index, [screen, x, y]] of moveOn.entries()) {
        const shown = await drawnAfter(page, screen);
        if (index === 0)
            titleMs = shown - title;
        await new Promise((resolve) => setTimeout(resolve, 300));
        const canvas = await (await page.$('#screen')).boundingBox();
        await page.mouse.click(canvas.x + x / 15, canvas.y + y / 15);
        const next = await drawnAfter(page, moveOn[index + 1]?.[0] ?? 'Form3');
        handOvers.push(next - await page.evaluate(() => window.releasedMs.at(-1)));
    }
    return { titleMs, handOvers };
}

async function measure(port, quiz) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({ width: 1024, height: 768, deviceScaleFactor: 1 });
    await page.setCacheEnabled(false);
    await page.evaluateOnNewDocument(watchFirstDraw);
    const session = await page.createCDPSession();
    await session.send('Network.enable');
    let bytes = 0;
    session.on('Network.loadingFinished', (event) => { bytes += event.encodedDataLength; });
    await page.goto(`http://localhost:${port}/`);
    await page.waitForFunction(() => window.firstDrawMs !== undefined, { timeout: 60000 });
    const firstDrawMs = await page.evaluate(() => window.firstDrawMs);
    const timings = quiz ? await measureQuiz(page) : {};
    await context.close();
    return { bytes, firstDrawMs, ...timings };
}

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const servers = { quiz: await serve(quizSite), bare: await serve(bareSite) };
const results = { quiz: [], bare: [] };
for (let i = 0; i < runs; ++i)
    for (const name of ['bare', 'quiz'])
        results[name].push(await measure(servers[name].address().port, name === 'quiz'));
await browser.close();
for (const server of Object.values(servers))
    server.close();

const row = (name) => {
    const times = results[name].map((r) => r.firstDrawMs);
    return `${name}: ${(median(results[name].map((r) => r.bytes)) / 1e6).toFixed(2)} MB transferred, `
        + `first draw ${median(times).toFixed(0)} ms (${Math.min(...times).toFixed(0)}-${Math.max(...times).toFixed(0)})`;
};
console.log(`median of ${runs} runs each:\n${row('bare')}\n${row('quiz')}`);
console.log(`quiz / bare: bytes ${(median(results.quiz.map((r) => r.bytes)) / median(results.bare.map((r) => r.bytes))).toFixed(3)}, `
    + `first draw ${(median(results.quiz.map((r) => r.firstDrawMs)) / median(results.bare.map((r) => r.firstDrawMs))).toFixed(3)}`);
const titles = results.quiz.map((r) => r.titleMs);
console.log(`the title stood ${median(titles).toFixed(0)} ms (${Math.min(...titles).toFixed(0)}-${Math.max(...titles).toFixed(0)}) `
    + 'from its first drawing to the next screen\'s');
const clicks = results.quiz.flatMap((r) => r.handOvers);
console.log(`a click to the next screen drawn: median ${median(clicks).toFixed(1)} ms `
    + `(${Math.min(...clicks).toFixed(1)}-${Math.max(...clicks).toFixed(1)}, ${clicks.length} clicks)`);
