// The binding's side in the page: listeners that call back into the program,
// and windows moved by their title bars. Linked in ahead of the program's
// glue, so that nothing is ever made into script from a string: the site runs
// under a Content-Security-Policy that forbids it.
Module['tolvane'] = {
  // Each `type` event at `target` calls the program's exported `name` with `args`.
  listen(target, type, name, ...args) {
    target.addEventListener(type, () => Module[name](...args));
  },

  // The colours the style sheet names, as the runtime has them.
  // Where the viewport is narrower than a window, every window is drawn in one
  // column, and one wider than the viewport fills it.
  fit() {
    // The viewport as style sheets see it: a phone's stays its own width when
    // the page is zoomed out to show a window whole.
    const under = width => matchMedia(`(max-width: ${width - 0.5}px)`).matches;
    let widest = 0;
    for (const form of document.querySelectorAll('.form')) {
      widest = Math.max(widest, +form.dataset.width);
      form.classList.toggle('sheet', under(+form.dataset.width));
    }
    document.documentElement.classList.toggle('narrow', under(widest));
    this.grow();
  },

  // Text boxes grow with their text in the column, where the browser cannot do it alone.
  grow() {
    if (CSS.supports('field-sizing', 'content')) return;
    const narrow = document.documentElement.classList.contains('narrow');
    for (const box of document.querySelectorAll('textarea'))
      box.style.height = '', box.style.height = narrow ? box.scrollHeight + 'px' : '';
  },

  start(pageGrey, disabledText) {
    document.documentElement.style.setProperty('--page-grey', pageGrey);
    document.documentElement.style.setProperty('--disabled-text', disabledText);
    // Before the browser acts on a key: no submit, no scroll, no leaving the windows.
    document.addEventListener('keydown', event => Module['tolvaneKey'](event), true);
    // Turning the phone, zooming or resizing may change the layout; windows
    // that no longer fit are placed again.
    addEventListener('resize', () => (this.fit(), Module['tolvaneRefit']()));
    addEventListener('input', () => this.grow());
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
