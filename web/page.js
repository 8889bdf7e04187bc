// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program with Qt's loader (qtloader.js of Qt 6.4) and keeps the page from ever
// standing blank: progress while the program downloads and compiles, a message in its place
// when the browser cannot run it, and one when it has ended, with a way to start again.
// While it runs, the page is the screens' window: a frame and title bar around the canvas, the
// whole window drawn smaller where the browser's window is smaller than it, and over the
// canvas a twin of each control the program draws, made of real page controls, for screen
// readers, voice control and on-screen keyboards, which see nothing in a canvas.
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
    var twin = document.getElementById('twin');
    var turn = document.getElementById('turn');

    function setState(state) {
        body.setAttribute('data-state', state);
        body.className = state === 'loading' ? 'waiting' : '';
    }

    function say(text, button) {
        loading.hidden = true;
        frame.hidden = true;
        turn.hidden = true;
        twin.textContent = '';
        windows = [];
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

    // ---- The window's size ----------------------------------------------------------------
    // The screen keeps its designed size where it fits. On a smaller device (a phone) the
    // browser is asked to show the page zoomed out so that the whole window fits, and the
    // program, which draws at the device's pixel ratio times the zoom, stays sharp; the page's
    // own texts are zoomed back in. A browser that does not zoom for a page (a computer's)
    // lets a window smaller than the screen scroll.
    var viewport = document.querySelector('meta[name="viewport"]');
    var frameWidth = 8;
    var frameHeight = 27;
    var screenWidth = 675;
    var screenHeight = 482;
    var fittedWidth = 0;

    function isTextField(element) {
        return !!element && element.tagName === 'INPUT' && element.type === 'text';
    }

    function textFieldFocused() {
        return isTextField(document.activeElement) && twin.contains(document.activeElement);
    }

    function fit(force) {
        var visual = window.visualViewport;
        var root = document.documentElement;
        // The device's own size in CSS pixels, however far the page is zoomed.
        var width = visual ? visual.width * visual.scale : root.clientWidth;
        var height = visual ? visual.height * visual.scale : root.clientHeight;
        // An on-screen keyboard takes height, not width: the screen keeps its size while the
        // formula is typed, and the box is brought above the keyboard instead.
        if (!force && Math.abs(width - fittedWidth) < 1 && textFieldFocused())
            return;
        fittedWidth = width;
        var scale = Math.min(1, (width - frameWidth) / screenWidth, (height - frameHeight) / screenHeight);
        scale = Math.max(0.2, Math.floor(scale * 1000) / 1000);
        var content = scale < 1
            ? 'width=' + Math.floor(width / scale) + ', initial-scale=' + scale
            : 'width=device-width, initial-scale=1';
        if (viewport.content !== content)
            viewport.content = content;
        turn.hidden = !(height > width && scale < 0.8) || body.getAttribute('data-state') !== 'running';
    }

    window.addEventListener('resize', function () {
        if (body.getAttribute('data-state') === 'running')
            fit(false);
    });
    if (window.visualViewport) {
        window.visualViewport.addEventListener('resize', function () {
            // The page's own texts keep their size when the page is zoomed out.
            document.documentElement.style.setProperty('--unzoom',
                String(1 / Math.min(1, window.visualViewport.scale)));
            // The formula box stays in view above an on-screen keyboard.
            if (textFieldFocused() && document.activeElement.scrollIntoView)
                document.activeElement.scrollIntoView({ block: 'nearest' });
        });
    }

    // ---- The twin -----------------------------------------------------------------------------
    // For each window on show, the program describes what its accessibility tree offers a
    // screen reader on the desktop (web_page.cpp): each node's kind, name, state and place.
    // The page lays one control over each, invisible, in the tree's order, and passes on what
    // is done to them; the program answers with the new state, focus included.
    var windows = [];          // the windows described: their element and their nodes' elements
    var focusTarget = null;    // the twin of the control that has the focus in the program
    var applying = false;      // a focus the page moves itself is not passed back
    var pressing = false;      // a finger or button is down on the canvas
    var composing = false;     // an input method is composing text in the text box

    function act(win, index, action, text, start, end) {
        var module = loader.module();
        if (module && module.refsQuizTwin && !applying)
            module.refsQuizTwin(win.id, index, action, text || '', start || 0, end || 0);
    }

    function place(element, rect, within) {
        element.style.left = (rect.x - within.x) + 'px';
        element.style.top = (rect.y - within.y) + 'px';
        element.style.width = rect.width + 'px';
        element.style.height = rect.height + 'px';
    }

    // The page control for one node, by the kind of the program's control.
    function controlFor(node, index, nodes, win) {
        var element;
        switch (node.kind) {
        case 'text':
            element = document.createElement('p');
            break;
        case 'picture':
            element = document.createElement('div');
            // A picture without a description (a box's icon) says nothing.
            if (node.name) {
                element.setAttribute('role', 'img');
                element.setAttribute('aria-label', node.name);
            } else {
                element.setAttribute('aria-hidden', 'true');
            }
            break;
        case 'button':
            element = document.createElement('button');
            element.type = 'button';
            break;
        case 'group':
            element = document.createElement('div');
            var options = nodes.some(function (other) {
                return other.parent === index && other.kind === 'option';
            });
            // A group without a name (a box's row of buttons) is no more than its controls.
            if (options || node.name) {
                element.setAttribute('role', options ? 'radiogroup' : 'group');
                element.setAttribute('aria-label', node.name);
            }
            break;
        case 'option':
            element = document.createElement('input');
            element.type = 'radio';
            element.name = win.element.id + '-' + node.parent;
            element.setAttribute('aria-label', node.name);
            break;
        case 'field':
            element = document.createElement('input');
            element.type = 'text';
            // A formula is typed as it stands: no capitals, corrections or suggestions.
            element.setAttribute('autocapitalize', 'off');
            element.setAttribute('autocorrect', 'off');
            element.setAttribute('autocomplete', 'off');
            element.setAttribute('spellcheck', 'false');
            element.setAttribute('enterkeyhint', 'done');
            break;
        default:
            element = document.createElement('div');
        }
        element.className = 'twin-' + (node.kind || 'part');
        return element;
    }

    function buildWindow(described) {
        var element = document.createElement('div');
        element.id = 'twin-' + described.id;
        element.className = 'twin-window';
        element.setAttribute('role', described.kind === 'alert' ? 'alertdialog' : 'dialog');
        element.setAttribute('aria-label', described.name);
        if (described.kind === 'alert')
            element.setAttribute('aria-modal', 'true');
        element.tabIndex = -1;
        place(element, described, { x: 0, y: 0 });
        var win = { id: described.id, element: element, elements: [], described: described };
        described.nodes.forEach(function (node, index) {
            var control = controlFor(node, index, described.nodes, win);
            control.id = element.id + '-' + index;
            control.setAttribute('data-index', index);
            // Activation by a screen reader or voice control: on the control itself, so that
            // nothing else is offered as clickable.
            if (node.kind === 'button' || node.kind === 'option') {
                control.addEventListener('click', function () {
                    act(win, index, node.kind === 'button' ? 'press' : 'choose');
                });
            }
            var parent = node.parent < 0 ? element : win.elements[node.parent];
            place(control, node, node.parent < 0 ? described : described.nodes[node.parent]);
            parent.appendChild(control);
            win.elements.push(control);
        });
        described.nodes.forEach(function (node, index) {
            if (node.labelledBy >= 0)
                win.elements[index].setAttribute('aria-labelledby', win.elements[node.labelledBy].id);
        });
        return win;
    }

    function update(win, described) {
        win.described = described;
        if (described.front) {
            win.element.removeAttribute('inert');
            win.element.removeAttribute('aria-hidden');
        } else {
            win.element.setAttribute('inert', '');
            win.element.setAttribute('aria-hidden', 'true');
        }
        described.nodes.forEach(function (node, index) {
            var element = win.elements[index];
            if (node.kind === 'text' || node.kind === 'button') {
                if (element.textContent !== node.name)
                    element.textContent = node.name;
            } else if (element.hasAttribute('aria-label')) {
                element.setAttribute('aria-label', node.name);
            }
            if (node.kind === 'option')
                element.checked = node.checked;
            // What an input method is composing is the page's until it is committed.
            if (node.kind === 'field' && !composing) {
                if (element.value !== node.value)
                    element.value = node.value;
                if (document.activeElement === element &&
                    (element.selectionStart !== node.selectionStart ||
                     element.selectionEnd !== node.selectionEnd))
                    element.setSelectionRange(node.selectionStart, node.selectionEnd);
            }
            if (node.disabled)
                element.setAttribute('disabled', '');
            else
                element.removeAttribute('disabled');
            // Keys reach the quiz through the control that has the focus in the program;
            // Tab from elsewhere on the page comes back to it.
            if (node.kind === 'button' || node.kind === 'option' || node.kind === 'field')
                element.tabIndex = index === described.focus ? 0 : -1;
        });
        win.element.tabIndex = described.front && described.focus < 0 ? 0 : -1;
        // What a screen reader reads of the window as it enters it, from the control the focus
        // comes to; a window without one takes the focus itself and is read whole.
        var read = described.read.map(function (index) { return win.elements[index].id; });
        if (read.length && described.focus >= 0)
            win.element.setAttribute('aria-describedby', read.join(' '));
        else
            win.element.removeAttribute('aria-describedby');
    }

    // Whether the keys are with the quiz: nothing else on the page has taken the focus.
    function focusWithQuiz() {
        var active = document.activeElement;
        return !active || active === body || active === canvas || twin.contains(active);
    }

    function followFocus() {
        if (!focusTarget || !focusWithQuiz() || document.activeElement === focusTarget)
            return;
        applying = true;
        try {
            focusTarget.focus({ preventScroll: !isTextField(focusTarget) });
        } finally {
            applying = false;
        }
    }

    function describe(described) {
        var before = windows;
        windows = described.map(function (win) {
            var kept = before.filter(function (known) {
                return known.id === win.id && known.described.nodes.length === win.nodes.length;
            })[0];
            return kept || buildWindow(win);
        });
        // The windows just left stay a moment, out of the way: a screen reader that comes to
        // the new focus from a control that still exists presents the new window first,
        // with its texts, as it presents a window that opens on the desktop.
        var leaving = before.filter(function (win) {
            return windows.indexOf(win) < 0;
        }).map(function (win) {
            win.element.setAttribute('data-leaving', '');
            win.element.removeAttribute('data-window');
            [].forEach.call(win.element.querySelectorAll('[tabindex]'), function (control) {
                control.tabIndex = -1;
            });
            win.element.tabIndex = -1;
            return win.element;
        });
        if (leaving.length) {
            setTimeout(function () {
                leaving.forEach(function (element) {
                    if (element.parentNode)
                        element.parentNode.removeChild(element);
                });
            }, 2000);
        }
        focusTarget = null;
        described.forEach(function (win, at) {
            if (!windows[at].element.parentNode)
                twin.appendChild(windows[at].element);
            windows[at].element.setAttribute('data-window', at);
            update(windows[at], win);
            if (win.front)
                focusTarget = win.focus >= 0 ? windows[at].elements[win.focus] : windows[at].element;
        });
        // A finger or button still down on the canvas moves the focus as it comes up: only then
        // may an on-screen keyboard come up for the text box.
        if (!pressing)
            followFocus();
    }

    function nodeOf(element) {
        var windowElement = element.closest && element.closest('.twin-window');
        if (!windowElement)
            return null;
        var win = windows[Number(windowElement.getAttribute('data-window'))];
        var index = element.getAttribute('data-index');
        if (!win || win.element !== windowElement || index === null)
            return null;
        return { win: win, index: Number(index), node: win.described.nodes[Number(index)] };
    }

    // Keys go to the program as they went when the canvas had them, so that every key does on
    // the page what it does on the desktop; only the text box keeps what edits its text, so
    // that on-screen keyboards, input methods, dictation and pasting work as in any field.
    // Shift+Tab from the first control leaves for the close box, and Tab comes back.
    var forwarded = {};
    // Keys that the page's controls would act on themselves as well: the program has them alone.
    var programKeys = ['Tab', 'Enter', ' ', 'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight',
                       'Home', 'End', 'PageUp', 'PageDown'];
    function forwardKey(event) {
        if (!twin.contains(event.target) || ended)
            return;
        var found = nodeOf(event.target);
        var which = event.code || event.key;
        if (event.type === 'keydown') {
            if (found && found.node.kind === 'field' &&
                ['Tab', 'Enter', 'Escape'].indexOf(event.key) < 0)
                return;
            if (event.key === 'Tab' && event.shiftKey && found &&
                found.index === found.win.described.firstStop)
                return;
            forwarded[which] = true;
        } else if (forwarded[which]) {
            delete forwarded[which];
        } else {
            return;
        }
        var copy = new KeyboardEvent(event.type, {
            key: event.key, code: event.code, location: event.location, repeat: event.repeat,
            ctrlKey: event.ctrlKey, shiftKey: event.shiftKey, altKey: event.altKey,
            metaKey: event.metaKey, bubbles: true, cancelable: true
        });
        if (!canvas.dispatchEvent(copy) || programKeys.indexOf(event.key) >= 0)
            event.preventDefault();
    }
    twin.addEventListener('keydown', forwardKey);
    twin.addEventListener('keyup', forwardKey);

    twin.addEventListener('focusin', function (event) {
        var found = nodeOf(event.target);
        if (found)
            act(found.win, found.index, 'focus');
    });
    function edited(event) {
        var found = nodeOf(event.target);
        if (found && found.node.kind === 'field' && document.activeElement === event.target) {
            var field = event.target;
            act(found.win, found.index, 'edit', field.value, field.selectionStart, field.selectionEnd);
        }
    }
    twin.addEventListener('compositionstart', function () {
        composing = true;
    });
    twin.addEventListener('compositionend', function (event) {
        composing = false;
        edited(event);
    });
    twin.addEventListener('input', edited);
    // Moves of the caret and selections, by keys or otherwise.
    document.addEventListener('selectionchange', function () {
        if (textFieldFocused())
            edited({ target: document.activeElement });
    });

    // The canvas takes the mouse and touches as before, but never the focus, which stays with
    // the twin; once the press is over, the focus is where the program put it.
    canvas.addEventListener('mousedown', function (event) {
        event.preventDefault();
    });
    function pressed() {
        pressing = true;
    }
    function released() {
        if (!pressing)
            return;
        pressing = false;
        followFocus();
    }
    canvas.addEventListener('pointerdown', pressed);
    canvas.addEventListener('touchstart', pressed);
    window.addEventListener('pointerup', released);
    window.addEventListener('touchend', released);
    window.addEventListener('pointercancel', released);
    window.addEventListener('touchcancel', released);

    // The program calls these: as a screen comes up (its caption and size), as the windows on
    // show or their state change (the twin), and with what a learning platform records.
    window.refsQuizPage = {
        showScreen: function (name, title, width, height) {
            if (!body.hasAttribute('data-screen')) {
                // Qt makes its canvas an editable field, for the clipboard; the twin's text box
                // is the only field, and the canvas is only a picture.
                canvas.removeAttribute('contenteditable');
                canvas.removeAttribute('inputmode');
            }
            body.setAttribute('data-screen', name);
            caption.textContent = title;
            document.title = title;
            canvas.style.width = width + 'px';
            canvas.style.height = height + 'px';
            // This Qt does not watch the canvas's size: it is told, and sizes its drawing buffer.
            var module = loader.module();
            if (module && module.qtResizeContainerElement)
                module.qtResizeContainerElement(canvas);
            screenWidth = width;
            screenHeight = height;
            fit(true);
        },
        describe: describe,
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
            fit(true);
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

    fit(true);
    loader.loadEmscriptenModule(program);
}());
