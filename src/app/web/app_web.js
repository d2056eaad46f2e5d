// The web shell on the page's side: the page (tarvel.html) hands the
// program its canvas and shows its states through Module.tarvelPage.
mergeInto(LibraryManager.library, {
  tarvel_page_open_window: function () {
    const page = Module['tarvelPage'];
    if (!page || !Module['canvas']) return 0;
    page.windowOpened();
    return 1;
  },

  tarvel_page_close_window: function () {
    const page = Module['tarvelPage'];
    if (page) page.windowClosed();
  },

  tarvel_page_message_box: function (caption, text) {
    const page = Module['tarvelPage'];
    if (page) page.messageBox(UTF8ToString(caption), UTF8ToString(text));
  },
});
