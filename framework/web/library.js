// The calls the program makes to the page (declared in PageCalls.h), as an Emscripten JS
// library linked into tavero.js (--js-library): each turns the program's numbers and strings
// into the page's values and calls the page's modules through TaveroPage (page/page.js).
// The three that wait (page_wait_for_event, page_save_file, page_refresh_file) suspend the
// program (ASYNCIFY).

mergeInto(LibraryManager.library, {
  page_create_dialog: function (window, main, templateId, caption, width, height, menu) {
    TaveroPage.createDialog(window, UTF8ToString(main), templateId, UTF8ToString(caption), width, height,
                            JSON.parse(UTF8ToString(menu)));
  },
  page_dialog_text: function (window, text) {
    TaveroPage.dialogText(window, UTF8ToString(text));
  },
  page_show_dialog: function (window) {
    TaveroPage.showDialog(window);
  },
  page_end_dialog: function (window) {
    TaveroPage.endDialog(window);
  },
  page_destroy_dialog: function (window) {
    TaveroPage.destroyDialog(window);
  },
  page_message_box: function (request, caption, text, buttons, defaultId, escapeId, warning) {
    TaveroPage.messageBox(request, UTF8ToString(caption), UTF8ToString(text),
                          { buttons: JSON.parse(UTF8ToString(buttons)), defaultId, escapeId, warning: warning !== 0 });
  },

  page_create_control: function (window, dialog, kind, id, x, y, width, height, style, text, tabStop, name, boxHeight,
                                 buttonWidth, listHeight) {
    TaveroPage.createControl(window, dialog, kind, id, x, y, width, height, style, UTF8ToString(text), tabStop !== 0,
                             UTF8ToString(name), { boxHeight, buttonWidth, listHeight });
  },
  page_items_changed: function (window, count) {
    TaveroPage.itemsChanged(window, count);
  },
  page_selection_changed: function (window, index) {
    TaveroPage.selectionChanged(window, index);
  },
  page_text_changed: function (window, text, start, end) {
    TaveroPage.textChanged(window, UTF8ToString(text), start, end);
  },
  page_redraw_changed: function (window, on) {
    TaveroPage.redrawChanged(window, on !== 0);
  },
  page_repaint: function (window) {
    TaveroPage.repaint(window);
  },
  page_focus: function (window) {
    TaveroPage.focus(window);
  },
  page_enabled_changed: function (window, enabled) {
    TaveroPage.enabledChanged(window, enabled !== 0);
  },

  page_choose_file: function (request, filter) {
    TaveroPage.chooseFile(request, UTF8ToString(filter));
  },
  page_take_given_file: function (given) {
    const path = TaveroPage.takeGivenFile(given);
    return path ? allocateUTF8(path) : 0;
  },
  page_forget_given_file: function (given) {
    TaveroPage.forgetGivenFile(given);
  },
  page_refresh_file: function (path) {
    return Asyncify.handleAsync(async () => {
      const error = await TaveroPage.refreshFile(UTF8ToString(path));
      return error ? allocateUTF8(error) : 0;
    });
  },
  page_download: function (name, bytes, length, type) {
    TaveroPage.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + length), UTF8ToString(type));
  },
  page_save_file: function (path, bytes, length) {
    return Asyncify.handleAsync(async () => {
      const error = await TaveroPage.saveFile(UTF8ToString(path), HEAPU8.slice(bytes, bytes + length));
      return error ? allocateUTF8(error) : 0;
    });
  },

  // The state folder: one localStorage entry a file, under the folder's prefix. A browser that
  // refuses storage (a private window, a policy) throws; that is a failed write, or no entry.
  page_state_read: function (name) {
    try {
      const text = localStorage.getItem("tavero-state/" + UTF8ToString(name));
      return text === null ? 0 : allocateUTF8(text);
    } catch (error) {
      return 0;
    }
  },
  page_state_write: function (name, text) {
    try {
      localStorage.setItem("tavero-state/" + UTF8ToString(name), UTF8ToString(text));
      return 1;
    } catch (error) {
      return 0;
    }
  },
  page_state_remove: function (name) {
    try {
      localStorage.removeItem("tavero-state/" + UTF8ToString(name));
    } catch (error) {
      // nothing stored, nothing to remove
    }
  },

  page_wait_for_event: function () {
    return Asyncify.handleAsync(() => TaveroPage.waitForEvent());
  },
  page_take_event: function (fields) {
    const event = TaveroPage.takeEvent();
    HEAP32[(fields >> 2) + 0] = event.kind;
    HEAP32[(fields >> 2) + 1] = event.window || 0;
    HEAP32[(fields >> 2) + 2] = event.a || 0;
    HEAP32[(fields >> 2) + 3] = event.b || 0;
    return event.text === undefined ? 0 : allocateUTF8(event.text);
  },

  page_program_ended: function () {
    TaveroPage.programEnded();
  },
});
