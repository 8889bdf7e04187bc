// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program with Qt's loader (qtloader.js of Qt 6.4) and keeps the page from ever
// standing blank: progress while the program downloads and compiles, a message in its place
// when the browser cannot run it, and one when it has ended, with a way to start again.
// Written without newer syntax, so that a browser too old for the program still reads it and
// says so. body's data-state tells where the page is: loading, running, ended or failed.
(function () {
    'use strict';

    var script = document.querySelector('script[data-program]');
    var program = script.getAttribute('data-program');
    var wasmBytes = Number(script.getAttribute('data-wasm-bytes'));
    var body = document.body;
    var loading = document.getElementById('loading');
    var loadingText = document.getElementById('loading-text');
    var bar = document.getElementById('loading-bar');
    var message = document.getElementById('message');
    var messageText = document.getElementById('message-text');
    var restart = document.getElementById('restart');
    var canvas = document.getElementById('screen');
    var frame = document.getElementById('window');
    var caption = document.getElementById('caption');
    var closeBox = document.getElementById('close');
    var screenText = document.getElementById('screen-text');
    var focusText = document.getElementById('focus-text');

    function setState(state) {
        body.setAttribute('data-state', state);
        body.className = state === 'loading' ? 'waiting' : '';
    }

    function say(text, button) {
        loading.hidden = true;
        frame.hidden = true;
        screenText.textContent = '';
        focusText.textContent = '';
        messageText.textContent = text;
        restart.hidden = !button;
        if (button)
            restart.textContent = button;
        message.hidden = false;
        if (button)
            restart.focus();
    }

    function fail(text, button) {
        setState('failed');
        say(text, button);
    }

    restart.addEventListener('click', function () {
        location.reload();
    });

    if (typeof WebAssembly !== 'object' || typeof QtLoader !== 'function') {
        fail('Этот браузер не может запустить тест: в нём нет WebAssembly. Откройте страницу в ' +
             'свежей версии Chrome, Firefox, Edge, Safari или Яндекс Браузера.');
        return;
    }

    // What the learning platform is told (platform.js) never holds up the quiz.
    function report(what, details) {
        var platform = window.refsQuizPlatform;
        try {
            if (platform)
                platform[what].apply(platform, details);
        } catch (error) {
            if (window.console)
                console.error(error);
        }
    }

    var ended = false;
    function end(crashed) {
        if (ended)
            return;
        ended = true;
        report('finish', []);
        setState('ended');
        if (crashed)
            say('Тест остановился из-за внутренней ошибки. Его можно пройти заново с самого начала.',
                'Начать заново');
        else
            say('Тест завершён. Чтобы пройти его ещё раз, начните заново.', 'Начать заново');
    }

    function progress(fraction) {
        var percent = Math.min(100, Math.floor(fraction * 100));
        bar.value = percent;
        // A Russian text puts a space before the percent sign.
        loadingText.textContent = percent < 100 ? 'Загрузка теста: ' + percent + '\u00a0%'
                                                : 'Подготовка теста…';
    }

    // Qt's loader tells only "downloading" and "compiling"; the bar counts the program's bytes
    // as the browser hands them over, already unpacked, against the program's own size.
    if (window.fetch && window.TransformStream && window.Response && wasmBytes > 0) {
        var fetchUncounted = window.fetch;
        window.fetch = function (resource, options) {
            return fetchUncounted.call(window, resource, options).then(function (response) {
                if (!/\.wasm$/.test(String(resource)) || !response.ok || !response.body)
                    return response;
                var received = 0;
                var counted = response.body.pipeThrough(new TransformStream({
                    transform: function (chunk, controller) {
                        received += chunk.byteLength;
                        progress(received / wasmBytes);
                        controller.enqueue(chunk);
                    }
                }));
                return new Response(counted, {
                    status: response.status,
                    statusText: response.statusText,
                    headers: response.headers
                });
            });
        };
    }

    // The program calls these as it shows a screen and as the focus moves: the page is the
    // screen's window frame and, for a screen reader, its voice (the program's Qt tells the
    // browser nothing of what it draws).
    function speak(region, text) {
        // A new node each time, so that a text said twice is said again.
        var line = document.createElement('p');
        line.textContent = text;
        region.textContent = '';
        region.appendChild(line);
    }
    window.refsQuizPage = {
        showScreen: function (name, title, width, height, text) {
            body.setAttribute('data-screen', name);
            caption.textContent = title;
            document.title = title;
            canvas.style.width = width + 'px';
            canvas.style.height = height + 'px';
            // This Qt does not watch the canvas's size: it is told, and sizes its drawing buffer.
            var module = loader.module();
            if (module && module.qtResizeContainerElement)
                module.qtResizeContainerElement(canvas);
            focusText.textContent = '';
            speak(screenText, text);
        },
        // A window over the screen, such as a message box.
        announceWindow: function (text) {
            focusText.textContent = '';
            speak(screenText, text);
        },
        announce: function (text) {
            speak(focusText, text);
        },
        // Each question's outcome and the result, for a learning platform.
        recordAnswer: function (question, typed, response, right, points) {
            report('answer', [question, typed, response, right, points]);
        },
        recordResult: function (total, most, passed) {
            report('result', [total, most, passed]);
        }
    };

    var loader = QtLoader({
        canvasElements: [canvas],
        showLoader: function (state) {
            setState('loading');
            message.hidden = true;
            loading.hidden = false;
            if (state === 'Compiling')
                progress(1);
        },
        showCanvas: function () {
            setState('running');
            loading.hidden = true;
            return canvas;
        },
        showError: function () {
            fail('Не удалось загрузить тест. Проверьте подключение к сети и попробуйте ещё раз.',
                 'Попробовать ещё раз');
        },
        showExit: function (crashed) {
            end(crashed);
        }
    });

    if (!loader.webGLSupported) {
        fail('Этот браузер не может показать тест: в нём выключен или недоступен WebGL. Включите ' +
             'аппаратное ускорение в настройках браузера или откройте страницу в другом браузере.');
        return;
    }

    // Qt's loader makes an ending with status 0 no event at all, and lets the program run on
    // after it; the module's quit hook, which the loader leaves to whoever sets it on the
    // configuration it keeps in window.moduleConfig, sees every ending. It throws, as
    // Emscripten's own does, so that the program's call to exit does not return.
    // An abort while loading is a failure to load, which showError reports.
    if (window.moduleConfig) {
        window.moduleConfig.quit = function (status, exception) {
            end(!(exception && exception.name === 'ExitStatus'));
            throw exception;
        };
        window.moduleConfig.onAbort = function () {
            if (body.getAttribute('data-state') !== 'loading')
                end(true);
        };
    }

    // A trap in the program (an access out of bounds, say) comes out of whichever event handler
    // was running as an error nobody catches, and the program stands still: the page says so.
    window.addEventListener('error', function (event) {
        if (body.getAttribute('data-state') === 'running' && event.error instanceof WebAssembly.RuntimeError)
            end(true);
    });

    // As the desktop's close box: the program ends the quiz.
    closeBox.addEventListener('click', function () {
        var module = loader.module();
        if (body.getAttribute('data-state') === 'running' && module && module.refsQuizCloseScreen)
            module.refsQuizCloseScreen();
    });

    loader.loadEmscriptenModule(program);
}());
