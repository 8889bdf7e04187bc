// SPDX-License-Identifier: GPL-3.0-or-later
// The quiz's page against the bare window's, in headless Chromium with an empty cache each time:
// bytes over the wire (as the server sends them, compressed) and the time from navigation to the
// program's first drawing call into WebGL. The runs alternate, so that other work on the machine
// falls on both alike. script/web --bench builds both sites and runs this.
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

// The first draw call of any WebGL context, in milliseconds since navigation started.
function watchFirstDraw() {
    for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
        for (const name of ['drawArrays', 'drawElements']) {
            const draw = type.prototype[name];
            type.prototype[name] = function (...args) {
                window.firstDrawMs ??= performance.now();
                return draw.apply(this, args);
            };
        }
    }
}

async function measure(port) {
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
    await context.close();
    return { bytes, firstDrawMs };
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
        results[name].push(await measure(servers[name].address().port));
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
