// SPDX-License-Identifier: GPL-3.0-or-later
// A static web server for trying the site on this machine the way SERVER.md asks a real one to
// serve it: .wasm as application/wasm, and the brotli or gzip copy of a file, with its
// Content-Encoding, to a browser that accepts it. Node's own modules only.
//
// Usage: node web/serve.mjs FOLDER [PORT]      (PORT 0 takes any free one)
import { createServer } from 'node:http';
import { stat, readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.png': 'image/png',
    '.ico': 'image/vnd.microsoft.icon',
    '.svg': 'image/svg+xml',
    '.md': 'text/markdown; charset=utf-8',
};
const encodings = [['br', '.br'], ['gzip', '.gz']];

async function isFile(path) {
    try {
        return (await stat(path)).isFile();
    } catch {
        return false;
    }
}

// Resolves to the listening server; server.address().port is the port it took. The browser
// suite also gives `type`, which may name another type for a file than the one above, as
// servers that do not know the file do, and `post`, which answers POST requests.
export function serve(folder, port = 0, { type = () => undefined, post } = {}) {
    const root = resolve(folder);
    const server = createServer(async (request, response) => {
        try {
            if (request.method === 'POST' && post) {
                await post(request, response);
                return;
            }
            const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
            let path = normalize(join(root, name));
            if (path !== root && !path.startsWith(root + sep)) {
                response.writeHead(403).end();
                return;
            }
            if (name.endsWith('/'))
                path = join(path, 'index.html');
            if (!(await isFile(path))) {
                response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('not found\n');
                return;
            }
            const headers = {
                'Content-Type': type(name) ?? types[extname(path)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache',
                Vary: 'Accept-Encoding',
            };
            const accepted = (request.headers['accept-encoding'] ?? '').split(',').map((e) => e.trim().split(';')[0]);
            let file = path;
            for (const [encoding, suffix] of encodings) {
                if (accepted.includes(encoding) && (await isFile(path + suffix))) {
                    file = path + suffix;
                    headers['Content-Encoding'] = encoding;
                    break;
                }
            }
            const body = await readFile(file);
            headers['Content-Length'] = body.length;
            response.writeHead(200, headers);
            response.end(request.method === 'HEAD' ? undefined : body);
        } catch (error) {
            response.writeHead(500).end(String(error));
        }
    });
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, '127.0.0.1', () => resolve(server));
    });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const root = resolve(process.argv[2] ?? '.');
    const server = await serve(root, Number(process.argv[3] ?? 8080));
    console.log(`serving ${root} on http://localhost:${server.address().port}/ (Ctrl+C stops)`);
}
