// The binding's side in the page: listeners that call back into the program,
// and windows moved by their title bars. Linked in ahead of the program's
// glue, so that nothing is ever made into script from a string: the site runs
// under a Content-Security-Policy that forbids it.

Module['tolvane'] = {
  // Calls into the program from the page. A browser call that throws inside
  // unwinds the program's frames without a word to them: the program is told
  // at once, and ends through its error report. A trap or an abort of the
  // WebAssembly itself goes on to the page's crash notice.
  enter(name, ...args) {
    try {
      const result = Module[name](...args);
      this.keep();
      return result;
    } catch (error) {
      if (error instanceof WebAssembly.RuntimeError || !Module['tolvaneFailed']) throw error;
      console.error(error);
      // The report names the kind of error, in the ASCII it takes.
      const kind = error && /^\w+$/.test(error.name) ? error.name : 'Error';
      Module['tolvaneFailed'](kind);
    }
  },

  // Each `type` event at `target` calls the program's exported `name` with `args`.
  listen(target, type, name, ...args) {
    target.addEventListener(type, () => this.enter(name, ...args));
  },

  // The run kept in the tab (Session.h): for this build of the program at
  // this address, until the program ends or the tab closes. Nothing goes
  // anywhere else.
  build: document.currentScript ? document.currentScript.src.replace(/.*\//, '') : '',
  key: 'tolvane ' + location.pathname.replace(/[^/]*$/, ''),
  data: [],
  keeping: true,

  // What the user can see of the run, whenever it may have changed; written
  // only when it has. Unticked boxes are what a screen loads with; a text box
  // the user cannot type in holds what the screen's Form_Load gives it.
  keep() {
    if (!this.keeping) return;
    const forms = [...document.querySelectorAll('.form:not([data-served])')];
    const screens = forms.map(form => ({
      name: form.id, visible: !form.hidden,
      values: [...form.querySelectorAll('.check input')].filter(box => box.checked || box.indeterminate)
        .map(box => [box.parentNode.dataset.control, box.indeterminate ? 2 : 1]),
      texts: [...form.querySelectorAll('textarea')].filter(box => !box.disabled)
        .map(box => [box.dataset.control, box.value]),
    }));
    const front = forms.filter(form => !form.hidden).sort((a, b) => a.style.zIndex - b.style.zIndex).map(form => form.id);
    const focused = document.activeElement && document.activeElement.closest('.form .client > *');
    const state = JSON.stringify({build: this.build, screens, front, focus: focused ? focused.id.replace('-', '.') : '',
                                  data: this.data});
    if (state === this.written) return;
    this.written = state;
    try {
      sessionStorage.setItem(this.key, state);
    } catch (refused) { /* no storage in this tab: nothing is kept */ }
  },

  keepData(data) {
    this.data = data;
    this.keep();
  },

  // What this tab's last run of this build kept, if it reads back whole;
  // anything else is dropped. Page 1 as served gives way to a kept run.
  kept() {
    let state = null;
    try {
      state = JSON.parse(sessionStorage.getItem(this.key));
    } catch (unreadable) { /* dropped below */ }
    const pairs = (list, type) => Array.isArray(list) &&
      list.every(pair => Array.isArray(pair) && pair.length === 2 && typeof pair[0] === 'string' && typeof pair[1] === type);
    const whole = state && state.build === this.build && Array.isArray(state.screens) && state.screens.every(screen =>
      screen && typeof screen.name === 'string' && typeof screen.visible === 'boolean' && pairs(screen.values, 'number') &&
      pairs(screen.texts, 'string')) && Array.isArray(state.front) && state.front.every(name => typeof name === 'string') &&
      typeof state.focus === 'string' && Array.isArray(state.data) && state.data.every(Number.isInteger);
    document.documentElement.classList.remove('resuming');
    if (!whole) return null;
    const served = document.querySelector('[data-served]');
    if (served) served.remove();
    this.data = state.data;
    return state;
  },

  forget() {
    this.keeping = false;
    try {
      sessionStorage.removeItem(this.key);
    } catch (refused) { /* nothing was kept */ }
  },

  // Page 1 comes in the page as served, drawn at build time by this same
  // program (tools/web-page1.py), so that it shows before the program has
  // arrived. The window the program builds takes the served one over, with
  // what the user has ticked and focused there, if it is exactly what the
  // program would draw: the same elements, attributes and texts, and the
  // same places and faces, which the served page keeps in a style sheet of
  // its own. Otherwise the program's own window replaces it.
  adopt(fresh) {
    const served = document.querySelector(`#${fresh.id}[data-served]`);
    if (!served) return false;
    // Where the two first differ, if they do; read before anything changes,
    // so that the styles need no working out again. Only the served page's
    // mark and its buttons' waiting are its own.
    const attributes = e => [...e.attributes].filter(a => !/^(style|data-served|aria-disabled)$/.test(a.name));
    const differ = (a, b) => {
      if (a.nodeType !== Node.ELEMENT_NODE) return !a.isEqualNode(b) && `"${a.nodeValue}"`;
      const at = a.id || a.tagName, style = getComputedStyle(a), mine = attributes(b);
      if (a.tagName !== b.tagName || attributes(a).length !== mine.length) return at;
      for (const attribute of mine) if (a.getAttribute(attribute.name) !== attribute.value) return `${at} ${attribute.name}`;
      for (const name of b.style)
        if (style.getPropertyValue(name).trim() !== b.style.getPropertyValue(name).trim()) return `${at} ${name}`;
      if (a.tagName === 'TEXTAREA') return a.value !== b.value && `${at} value`;
      if (a.childNodes.length !== b.childNodes.length) return `${at} children`;
      for (let i = 0, first; i < a.childNodes.length; ++i) if ((first = differ(a.childNodes[i], b.childNodes[i]))) return first;
      return '';
    };
    // Whether it is shown, and how it fits the viewport, are the page's.
    const [hidden, classes] = [fresh.hidden, fresh.className];
    [fresh.hidden, fresh.className] = [served.hidden, served.className];
    const difference = differ(served, fresh);
    [fresh.hidden, fresh.className] = [hidden, classes];
    if (difference) {
      console.error(`${fresh.id} as served is not the program's (${difference}): drawn again`);
      served.remove();
    }
    // Its buttons waited for the program.
    served.removeAttribute('data-served');
    for (const button of served.querySelectorAll('[aria-disabled]')) button.removeAttribute('aria-disabled');
    return !difference;
  },

  // Where the viewport is narrower than a window, or the pointer is a finger
  // (a phone either way up, a tablet), every window is drawn in one column:
  // boxes and buttons a thumb can hit. There a window wider than the viewport,
  // or any screen but a message under a finger, fills it.
  fit() {
    // The viewport as style sheets see it: a phone's stays its own width when
    // the page is zoomed out to show a window whole.
    const under = width => matchMedia(`(max-width: ${width - 0.5}px)`).matches;
    const finger = matchMedia('(pointer: coarse)').matches;
    let widest = 0;
    for (const form of document.querySelectorAll('.form')) {
      widest = Math.max(widest, +form.dataset.width);
      form.classList.toggle('panel', !under(+form.dataset.width) && (!finger || form.hasAttribute('aria-describedby')));
    }
    document.documentElement.classList.toggle('narrow', finger || under(widest));
    this.grow(document);
  },

  // Text boxes grow with their text in the column, and in print, where a box
  // would print only what it shows. Where the browser cannot do it alone,
  // their height is measured here: whenever a window is shown, its text
  // changes, the viewport does or a print begins. A hidden box measures nothing.
  grow(within) {
    if (CSS.supports('field-sizing', 'content')) return;
    const grown = this.printing || document.documentElement.classList.contains('narrow');
    // From no height at all, what scrolls is the text: one line is one row.
    for (const box of within.querySelectorAll('textarea')) {
      box.style.height = grown && box.offsetParent ? '0' : '';
      if (box.style.height) box.style.height = box.scrollHeight + 'px';
    }
  },

  start(pageGrey, disabledText) {
    document.documentElement.style.setProperty('--page-grey', pageGrey);
    document.documentElement.style.setProperty('--disabled-text', disabledText);
    // Before the browser acts on a key: no submit, no scroll, no leaving the windows.
    document.addEventListener('keydown', event => this.enter('tolvaneKey', event), true);
    // Turning the phone, zooming or resizing may change the layout; windows
    // that no longer fit are placed again.
    const refit = () => (this.fit(), this.enter('tolvaneRefit'));
    addEventListener('resize', refit);
    matchMedia('(pointer: coarse)').addEventListener('change', refit);
    addEventListener('input', event => event.target.matches('textarea') && (this.grow(event.target.parentElement), this.keep()));
    document.fonts.addEventListener('loadingdone', () => this.grow(document));
    // Printed, a window keeps its designed widths whatever the viewport, so
    // its boxes are measured out of the column, which comes back afterwards.
    // WebKit tells of a print only through the media query.
    const print = on => {
      if (on === !!this.printing || CSS.supports('field-sizing', 'content')) return;
      this.printing = on;
      if (!on) return this.fit();
      document.documentElement.classList.remove('narrow');
      this.grow(document);
    };
    addEventListener('beforeprint', () => print(true));
    addEventListener('afterprint', () => print(false));
    matchMedia('print').addEventListener('change', event => print(event.matches));
    // A window moves by its title bar, as on the desktop, never so far up or
    // left that the bar is out of reach.
    document.addEventListener('pointerdown', down => {
      const bar = down.target.closest && down.target.closest('.form > .titlebar');
      if (!bar || down.button !== 0 || down.target.closest('button') ||
          document.documentElement.classList.contains('narrow')) return;
      const form = bar.parentElement, x = down.pageX - form.offsetLeft, y = down.pageY - form.offsetTop;
      bar.setPointerCapture(down.pointerId);
      bar.onpointermove = move => {
        form.style.setProperty('--x', Math.max(0, move.pageX - x) + 'px');
        form.style.setProperty('--y', Math.max(0, move.pageY - y) + 'px');
      };
      bar.onpointerup = () => { bar.onpointermove = null; };
    });
  },

  reloadOn(button) {
    button.addEventListener('click', () => location.reload());
  },
};
