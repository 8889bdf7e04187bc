// SPDX-License-Identifier: GPL-3.0-or-later
// Reports the quiz to a learning platform that has opened the page as a SCORM 1.2 package: the
// platform's API object is looked for up the chain of parent frames, then from the window that
// opened this one. Without one the quiz runs as anywhere else and nothing is reported.
// A platform that refuses a call, or fails or vanishes mid-way, never stops the quiz: the
// failure goes to the console and the quiz goes on to its results. Values go in the forms
// SCORM 1.2 defines, which strict run-times enforce. Written as page.js is, without newer
// syntax. The page calls window.refsQuizPlatform: answer(), result() and finish().
(function () {
    'use strict';

    var api = findApi();
    var started = Date.now();
    var interaction = 0;
    var commitPending = false;

    function complain(text) {
        if (window.console)
            console.error('Ссылки в Excel: learning platform: ' + text);
    }

    // The API of the nearest window up the frames from here, or null. A frame of another site
    // may not be looked into, but its parent may still be ours.
    function apiAbove(start) {
        var view = start;
        for (var hops = 0; view && hops < 10; ++hops) {
            try {
                if (view.API && typeof view.API.LMSInitialize === 'function')
                    return view.API;
            } catch (crossOrigin) {
                // look further up
            }
            if (view.parent === view)
                break;
            view = view.parent;
        }
        return null;
    }

    function findApi() {
        var found = apiAbove(window);
        try {
            if (!found && window.opener)
                found = apiAbove(window.opener);
        } catch (crossOrigin) {
            found = null;
        }
        return found;
    }

    // Calls the platform; a refusal is told by the platform's own error code and text. A call
    // that throws means the platform has gone: nothing more is sent to it.
    function call(name, argument, value) {
        if (!api)
            return '';
        try {
            var result = value === undefined ? api[name](argument) : api[name](argument, value);
            if (String(result) === 'false') {
                var code = String(api.LMSGetLastError());
                complain(name + '(' + argument + ') was refused: ' + code + ' ' +
                         api.LMSGetErrorString(code));
            }
            return String(result);
        } catch (error) {
            complain(name + '(' + argument + ') failed, and the platform is no longer used: ' + error);
            api = null;
            return '';
        }
    }

    function set(element, value) {
        call('LMSSetValue', element, value);
    }

    function pad(number, digits) {
        var text = String(number);
        while (text.length < digits)
            text = '0' + text;
        return text;
    }

    // HHHH:MM:SS.SS, as SCORM 1.2 writes a span of time.
    function timeSpan(milliseconds) {
        var hundredths = Math.min(Math.floor(milliseconds / 10), 9999 * 360000 + 359999);
        return pad(Math.floor(hundredths / 360000), 4) + ':' +
            pad(Math.floor(hundredths / 6000) % 60, 2) + ':' +
            pad(Math.floor(hundredths / 100) % 60, 2) + '.' + pad(hundredths % 100, 2);
    }

    // A typed response is one line of at most 255 characters (a strict run-time refuses a line
    // break), cut so as not to split a character written with two code units.
    function oneLine(text) {
        var line = text.replace(/[\r\n\u2028\u2029]+/g, ' ');
        if (line.length > 255)
            line = line.slice(0, /[\ud800-\udbff]/.test(line.charAt(254)) ? 254 : 255);
        return line;
    }

    // After the next screen has been drawn: a platform may commit with a request that holds
    // the page until it is answered.
    function commitSoon() {
        if (commitPending)
            return;
        commitPending = true;
        var commit = function () {
            commitPending = false;
            call('LMSCommit', '');
        };
        if (window.requestAnimationFrame)
            window.requestAnimationFrame(function () { setTimeout(commit, 0); });
        else
            setTimeout(commit, 0);
    }

    // The session's end: nothing more is sent after it.
    function finish() {
        if (!api)
            return;
        set('cmi.core.session_time', timeSpan(Date.now() - started));
        call('LMSFinish', '');
        api = null;
    }

    if (api && call('LMSInitialize', '') !== 'true')
        api = null;
    if (api) {
        // A platform that resumes an attempt already holds its interactions: new ones follow.
        var count = parseInt(call('LMSGetValue', 'cmi.interactions._count'), 10);
        interaction = count > 0 ? count : 0;
        set('cmi.core.lesson_status', 'incomplete');
        commitSoon();
        // Leaving the page ends the session, whether or not the quiz has ended.
        window.addEventListener('pagehide', finish);
    }

    window.refsQuizPlatform = {
        // question: 1 to 5; response: the letter of the chosen text, or the typed text, or ''
        // for none.
        answer: function (question, typed, response, right, points) {
            if (!api)
                return;
            var prefix = 'cmi.interactions.' + interaction++ + '.';
            set(prefix + 'id', 'q' + question);
            set(prefix + 'type', typed ? 'fill-in' : 'choice');
            if (response !== '')
                set(prefix + 'student_response', typed ? oneLine(response) : response);
            set(prefix + 'result', right ? 'correct' : 'wrong');
            set(prefix + 'weighting', String(points));
            commitSoon();
        },
        result: function (total, most, passed) {
            if (!api)
                return;
            set('cmi.core.score.min', '0');
            set('cmi.core.score.max', String(most));
            set('cmi.core.score.raw', String(total));
            set('cmi.core.lesson_status', passed ? 'passed' : 'failed');
            set('cmi.core.session_time', timeSpan(Date.now() - started));
            commitSoon();
        },
        finish: finish
    };
}());
