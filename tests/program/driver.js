// The test program's side in the page, linked in ahead of its glue. Its run
// as web-run.py asks (arguments and TOLVANE_ variables in the page's fragment),
// its output and status back to the runner, which a script error or a refusal
// by the page's security policy ends; and the driver (WebDriver.cpp): real
// events on the page's elements, and what they draw.
(() => {
  const run = JSON.parse(decodeURIComponent(location.hash.slice(1))), lines = [];
  const finish = status => fetch('exit', {method: 'POST', body: JSON.stringify([status, lines.join('\n')])});
  // A script error anywhere, a driver call's among them, ends the run at once.
  const failed = error => (lines.push(String(error && error.stack || error)), finish(1));
  addEventListener('error', event => failed(event.error || event.message));
  addEventListener('unhandledrejection', event => failed(event.reason));
  // Fallbacks run where the browser has what they stand in for.
  if (run.env.TOLVANE_WEB_FALLBACKS) {
    const supports = CSS.supports;
    CSS.supports = (...feature) => !/field-sizing/.test(feature.join(':')) && supports.apply(CSS, feature);
    const sheet = new CSSStyleSheet();
    sheet.replaceSync('textarea { field-sizing: fixed !important; }');
    document.adoptedStyleSheets = [sheet];
  }
  addEventListener('securitypolicyviolation', event =>
    (lines.push(`refused by the policy: ${event.violatedDirective} ${event.blockedURI}`), finish(1)));
  Object.assign(Module, {arguments: run.arguments, print: t => lines.push(t), printErr: t => lines.push(t),
    onExit: finish, onAbort: () => finish(134), preRun: [() => {
      Object.assign(ENV, run.env);
      // The tests start once the page's faces are in, and a probe face half as
      // wide again as IPA Gothic, to tell a fallback from them.
      document.fonts.add(new FontFace('probe', 'local("IPAGothic")', {sizeAdjust: '150%'}));
      addRunDependency('fonts');
      Promise.all(['"ＭＳ Ｐゴシック"', '"ＭＳ ゴシック"', 'probe'].map(f => document.fonts.load('9pt ' + f)))
        .then(() => removeRunDependency('fonts'));
    }]});
})();
Module['tolvaneDriver'] = (function () {
  const el = (form, name) => document.getElementById(name ? form + '-' + name : form);
  const input = e => e.tagName === 'LABEL' ? e.firstChild : e;
  const key = (target, key, shift, alt) => target.dispatchEvent(new KeyboardEvent('keydown',
      {key, shiftKey: shift, altKey: alt, bubbles: true, cancelable: true}));
  const click = (e, at) => {
    // On a whole pixel, as a mouse's clicks land.
    const r = e.getBoundingClientRect(), x = r.left + Math.min(Math.floor(at * r.width), r.width - 1);
    const y = r.top + r.height / 2, hit = document.elementFromPoint(x, y);
    const target = hit && e.closest('.form, .modal').contains(hit) ? hit : e;
    for (const type of ['mousedown', 'mouseup', 'click'])
      target.dispatchEvent(new MouseEvent(type, {bubbles: true, cancelable: true, clientX: x, clientY: y}));
  };
  const canvas = document.createElement('canvas').getContext('2d'), width = (text, style, fallback) => (
    canvas.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily.split(',')[0]}, ${fallback}`,
    canvas.measureText(text).width);
  // Drawn whole in its own face: the same width whether a face half as wide
  // again (the page's probe) or the browser's would stand in for missing
  // glyphs, and no wider than its box, leader dots apart.
  const whole = e => {
    const span = e.tagName === 'LABEL' ? e.lastChild : e, text = span.textContent;
    if (!text || !e.offsetParent) return true;
    const style = getComputedStyle(span);
    if (width(text, style, 'probe') !== width(text, style, 'serif')) return false;
    const room = span.clientWidth, dots = text.indexOf('・');
    return span.scrollWidth <= room || (dots > 0 && width(text.slice(0, dots), style, 'serif') <= room);
  };
  const indeterminate = Object.getOwnPropertyDescriptor(HTMLInputElement.prototype, 'indeterminate');
  return {
    press(form, name, how, at) {
      const e = el(form, name);
      if (how === 0) return click(e, at);
      input(e).focus();
      key(document.activeElement, how === 1 ? ' ' : 'Enter', false, false);
    },
    type(form, name, text, how) {
      const e = el(form, name);
      click(e, 0.5);
      if (!e.disabled) e.focus(), e.setSelectionRange(e.value.length, e.value.length);
      // Text goes where the focus is, and only into a box that takes it.
      const target = document.activeElement, into = target === e && !e.disabled;
      if (how !== 0) return into && document.execCommand('insertText', false, text);
      for (const c of text)
        if (key(target, c === '\n' ? 'Enter' : c, false, false) && into)
          document.execCommand('insertText', false, c);
    },
    close: (form, button = el(form).querySelector('.close')) =>
      button ? button.click() : key(el(form), 'F4', false, true),
    tab: (form, back) => key(el(form).contains(document.activeElement) ? document.activeElement : el(form),
                             'Tab', back, false),
    text(form, name, e = el(form, name)) {
      return !e ? '(none)' : e.tagName === 'TEXTAREA' ? e.value : e.textContent + (whole(e) ? '' : ' (not whole)');
    },
    // The colours drawn: the element's text on the first background behind it.
    drawn(form, name) {
      const rgba = (e, what) => getComputedStyle(e)[what].match(/[\d.]+/g).map(Number);
      let back = el(form, name);
      while (rgba(back, 'backgroundColor')[3] === 0) back = back.parentElement;
      return [rgba(el(form, name), 'color'), rgba(back, 'backgroundColor')];
    },
    cut: () => [...document.querySelectorAll('.label, .check, .client button')].filter(e => !whole(e)).map(e => e.id).join(' '),
    // A page whose system colours are a dark scheme's.
    dark: on => document.documentElement.style.colorScheme = on ? 'dark' : '',
    // A browser call that throws, as a failing one would.
    failing: on => Object.defineProperty(HTMLInputElement.prototype, 'indeterminate',
      on ? Object.assign({}, indeterminate, {set() { throw new TypeError('planted'); }}) : indeterminate),
    narrow: () => document.documentElement.classList.contains('narrow'),
    // The report up, read and then dismissed with its OK.
    reports: (box = document.querySelector('.report')) => box ? [box.firstChild.textContent + ' ' +
      box.querySelector('.report-text').textContent, click(box.querySelector('.ok'), 0.5)].slice(0, 1) : [],
    focus: (form, active = document.activeElement.closest('[data-control]')) =>
      active && el(form).contains(active) ? active.dataset.control : '',
    loaded: form => !!el(form),
    offCentre: (form, r = el(form).getBoundingClientRect(), view = document.documentElement) =>
      [r.left + r.width / 2 - view.clientWidth / 2, r.top + r.height / 2 - view.clientHeight / 2].map(Math.round),
    shown: form => !!el(form) && el(form).checkVisibility(),
    ticked: (form, box, drawn = input(el(form, box))) => drawn.indeterminate ? 2 : drawn.checked ? 1 : 0,
  };
})();
