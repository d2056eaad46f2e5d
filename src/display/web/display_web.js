// The web display on the page's side: the canvas (Module.canvas) with an
// opaque 2-D context, and each frame put onto it whole.
mergeInto(LibraryManager.library, {
  $TarvelCanvas: {
    context: null,
    image: null, // an ImageData over the frame's bytes in the program's memory
  },

  // Sizes the canvas and takes its 2-D context; 0 when there is none.
  tarvel_canvas_open__deps: ['$TarvelCanvas'],
  tarvel_canvas_open: function (width, height) {
    const canvas = Module['canvas'];
    if (!canvas || !canvas.getContext) return 0;
    canvas.width = width;
    canvas.height = height;
    TarvelCanvas.context = canvas.getContext('2d', { alpha: false });
    TarvelCanvas.image = null;
    return TarvelCanvas.context ? 1 : 0;
  },

  // RGBA bytes at `rgba`, width x height, onto the canvas as they are.
  tarvel_canvas_put__deps: ['$TarvelCanvas'],
  tarvel_canvas_put: function (rgba, width, height) {
    const c = TarvelCanvas;
    if (!c.context) return;
    // The view is made again only when the memory has grown (a new buffer)
    // or the frame moved.
    if (!c.image || c.image.data.buffer !== HEAPU8.buffer || c.image.data.byteOffset !== rgba) {
      c.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
    }
    c.context.putImageData(c.image, 0, 0);
  },

  tarvel_canvas_close__deps: ['$TarvelCanvas'],
  tarvel_canvas_close: function () {
    TarvelCanvas.context = null;
    TarvelCanvas.image = null;
  },
});
