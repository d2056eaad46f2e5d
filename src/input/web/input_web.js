// The web platform's input on the page's side: key, mouse and focus events
// passed to input_web.cpp while the window is open, and the Gamepad API.
mergeInto(LibraryManager.library, {
  $TarvelInput: {
    listeners: null,
  },

  tarvel_input_listen__deps: ['$TarvelInput'],
  tarvel_input_listen: function (on) {
    const target = window;
    if (TarvelInput.listeners) {
      for (const listener of TarvelInput.listeners) target.removeEventListener(listener[0], listener[1], true);
      TarvelInput.listeners = null;
    }
    if (!on) return;
    const key = (down) => (e) => {
      ccall('WebKeyEvent', null, ['string', 'string', 'number'], [e.code || '', e.key || '', down]);
      // Escape and the keys the show reads stay with the show, not the page.
      if (e.code === 'Escape' || e.code.startsWith('Arrow') || e.code === 'Space') e.preventDefault();
    };
    const mouse = (down) => (e) => _WebMouseEvent(e.button, down);
    const focus = () => _WebFocusEvent();
    TarvelInput.listeners = [
      ['keydown', key(1)], ['keyup', key(0)], ['mousedown', mouse(1)], ['mouseup', mouse(0)],
      ['blur', focus], ['focus', focus],
    ];
    for (const listener of TarvelInput.listeners) target.addEventListener(listener[0], listener[1], true);
  },

  // Number of gamepad slots the browser offers (connected or not).
  tarvel_gamepad_slots: function () {
    return navigator.getGamepads ? navigator.getGamepads().length : 0;
  },

  // Axes 0 and 1 into axes[0..1] (doubles), one bit per pressed button into
  // *buttons; 0 when no gamepad is connected in that slot.
  tarvel_gamepad_read: function (index, axes, buttons) {
    const pads = navigator.getGamepads ? navigator.getGamepads() : [];
    const pad = pads[index];
    if (!pad || !pad.connected) return 0;
    HEAPF64[axes >> 3] = pad.axes.length > 0 ? pad.axes[0] : 0;
    HEAPF64[(axes >> 3) + 1] = pad.axes.length > 1 ? pad.axes[1] : 0;
    let bits = 0;
    for (let b = 0; b < Math.min(pad.buttons.length, 32); b++) {
      if (pad.buttons[b].pressed) bits |= 1 << b;
    }
    HEAPU32[buttons >> 2] = bits >>> 0;
    return 1;
  },
});
