// Runs ahead of the program: when the program cannot start (no WebAssembly or
// too old a one, a file that did not arrive, a security policy that blocks
// it, an error before page 1 is up), the page says so and what the user can
// do. Once page 1 is up, the site is kept for use offline. A failure later on
// is the program's own error report, but for a crash of the WebAssembly
// itself, which also ends in a notice.
'use strict';
var Module = (function () {
  const RELOAD = 'ページを読み込み直して下さい．';
  const ELSE = '直らないときは，別のブラウザーで開くか，このサイトの管理者にお知らせ下さい．';
  const NOTICES = {
    wasm: ['お使いのブラウザーでは，この診断を動かせません（WebAssembly が使えないか，その版が古いためです）．',
           '新しい版のブラウザーか，別のブラウザーで開いて下さい．'],
    file: ['診断に必要なファイルを読み込めませんでした．',
           'インターネットへの接続を確かめてから，' + RELOAD + ELSE],
    policy: ['このサイトのセキュリティの設定が，診断のプログラムを止めています．',
             'このサイトの管理者にお知らせ下さい．'],
    start: ['診断を始める途中で，エラーが起きました．', RELOAD + ELSE],
    crash: ['エラーのため，診断を続けられなくなりました．', RELOAD],
  };
  let started = false, blocked = false, shown = false;
  // Page 1 comes in the page as served, drawn before the program arrives: in
  // one column from its first frame where the program would put it there
  // (page.js, fit), the served window's width being the widest.
  const root = document.documentElement, served = +root.dataset.width;
  if (served) root.classList.toggle('narrow', matchMedia('(pointer: coarse)').matches ||
                                              matchMedia(`(max-width: ${served - 0.5}px)`).matches);
  // Where the tab kept a run (page.js, kept), that run shows in its place.
  try {
    if (served && sessionStorage.getItem('tolvane ' + location.pathname.replace(/[^/]*$/, ''))) root.classList.add('resuming');
  } catch (refused) { /* nothing was kept */ }
  // It shows once both faces are in: a column laid out in a stand-in face
  // would move as they came. No longer than a browser waits for a face.
  const faces = ['9pt "ＭＳ Ｐゴシック"', 'bold 15.6pt "ＭＳ ゴシック"'];
  const drawn = served ? Promise.race([Promise.all(faces.map(face => document.fonts.load(face))).catch(() => {}),
                                       new Promise(wait => setTimeout(wait, 3000))])
    .then(() => (root.classList.add('faces'), onScreen())) : Promise.resolve();
  // The browser's word that page 1 is on screen, its largest contentful
  // paint, which may come a frame or two after the frame that drew it. A run
  // taken up again paints nothing before the program: there, and in an engine
  // that does not tell (WebKit), the frame after. Never longer than a second.
  function onScreen() {
    return new Promise(done => {
      const told = !root.classList.contains('resuming') &&
                   PerformanceObserver.supportedEntryTypes?.includes('largest-contentful-paint');
      if (told) {
        new PerformanceObserver((list, observer) => (observer.disconnect(), setTimeout(done)))
          .observe({type: 'largest-contentful-paint', buffered: true});
      } else {
        requestAnimationFrame(() => setTimeout(done));
      }
      setTimeout(done, 1000);
    });
  }

  function notice(kind, detail) {
    if (shown) return;
    shown = true;
    // A refusal by the policy may be told after the failure it caused; and
    // the page may not be all there yet (page 1 among it, which must go).
    const later = () => draw(blocked && kind !== 'wasm' && kind !== 'crash' ? 'policy' : kind, detail);
    document.readyState === 'loading' ? addEventListener('DOMContentLoaded', later) : setTimeout(later);
  }

  function draw(kind, detail) {
    // The windows of a program that has stopped take no more answers.
    for (const open of document.querySelectorAll('.form, .modal')) open.hidden = true;
    // The page's main content now, told at once.
    const main = document.createElement('main'), again = document.createElement('button');
    const section = main.appendChild(document.createElement('section'));
    main.className = 'ended failed';
    main.dataset.reason = kind;
    section.setAttribute('role', 'alert');
    const [what, todo] = NOTICES[kind];
    section.appendChild(document.createElement('h1')).textContent = what;
    section.appendChild(document.createElement('p')).textContent = todo;
    if (detail) {
      const note = section.appendChild(document.createElement('p'));
      note.className = 'detail';
      note.lang = 'en';
      note.textContent = String(detail);
    }
    again.type = 'button';
    again.textContent = '読み込み直す';
    again.addEventListener('click', () => location.reload());
    section.appendChild(again);
    document.body.appendChild(main);
  }

  // `crash`: the WebAssembly itself stopped (an abort or a trap).
  function failed(detail, crash) {
    if (started) {
      if (crash) notice('crash', detail);
      return;
    }
    const text = String(detail);
    notice(/Content.Security.Policy|unsafe-eval/i.test(text) ? 'policy'
           : /fetch|failed to load|NetworkError|wasm binary|magic word/i.test(text) ? 'file'
           : /CompileError/.test(text) ? 'wasm' : 'start', text);
  }
  const trap = error => typeof WebAssembly === 'object' && error instanceof WebAssembly.RuntimeError;

  addEventListener('securitypolicyviolation', () => { blocked = true; });
  // Capturing: a script or style sheet that does not load fires no bubbling event.
  addEventListener('error', event => {
    const from = event.target;
    if (from instanceof HTMLScriptElement || (from instanceof HTMLLinkElement && from.rel === 'stylesheet')) {
      if (!started) notice('file', from.src || from.href);
    } else if (from === window) {
      failed(event.message, trap(event.error));
    }
  }, true);
  addEventListener('unhandledrejection', event => failed(event.reason, trap(event.reason)));
  // The oldest engines the site runs in are those whose WebAssembly handles
  // exceptions itself: a module with try and catch_all must validate. Older
  // ones are told so, and the program is never started to be half drawn.
  const TRY = [0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3, 2, 1, 0, 10, 8, 1, 6, 0, 6, 64, 25, 11, 11];
  if (typeof WebAssembly !== 'object' || !WebAssembly.validate(new Uint8Array(TRY))) {
    notice('wasm');
    return {};
  }

  // The program, and the manifest (for which a browser fetches an icon), are
  // asked for once page 1 is on screen: on a slow line they would share the
  // bandwidth with the page's faces and hold page 1 back, and a start that
  // came first would hold its frame back. A script that does not arrive is
  // told by the error event.
  drawn.then(() => {
    const wasm = document.createElement('link'), program = document.createElement('script');
    const manifest = document.createElement('link');
    Object.assign(wasm, {rel: 'preload', href: 'tolvane.wasm', as: 'fetch', type: 'application/wasm', crossOrigin: 'anonymous'});
    Object.assign(manifest, {rel: 'manifest', href: 'manifest.webmanifest'});
    program.src = 'tolvane.js';
    document.head.append(wasm, program, manifest);
  });

  return {
    onAbort: what => failed(what, true),
    // main has returned: page 1 is up. The site is kept for later once page 1
    // is on screen with its fonts, so that keeping it never slows the first visit.
    postRun: [() => {
      started = true;
      const keep = () => navigator.serviceWorker.register('sw.js').catch(() => {});
      if ('serviceWorker' in navigator) document.fonts.ready.then(() => requestAnimationFrame(() => setTimeout(keep)));
    }],
  };
})();
