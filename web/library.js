// The page's side of the library in a browser (graphics/sdl_side_web.cpp).
mergeInto(LibraryManager.library, {
  // Sleeps up to `ms` milliseconds (Asyncify: the page gets its thread back),
  // and less when input for the program arrives, so that a program with
  // nothing to do costs nothing and a key still gets through at once.
  kavex_page_wait__deps: ['$safeSetTimeout'],
  kavex_page_wait: function (ms) {
    if (!Module['kavexWakeOnInput']) {
      Module['kavexWakeOnInput'] = true;
      // After SDL's own listeners, which queue the event; a moment later,
      // so that a key's character (its keypress) has come too.
      var wake = function () { if (Module['kavexWake']) Module['kavexWake'](); };
      var later = function () { setTimeout(wake, 0); };
      var keys = Module['keyboardListeningElement'] || document;
      ['keydown', 'keyup'].forEach(function (type) { keys.addEventListener(type, later); });
      ['mousedown', 'mouseup', 'mousemove', 'mouseout', 'wheel'].forEach(function (type) {
        Module['canvas'].addEventListener(type, later);
      });
    }
    Asyncify.handleSleep(function (wakeUp) {
      var woken = false;
      var once = function () {
        if (woken) return;
        woken = true;
        Module['kavexWake'] = null;
        wakeUp();
      };
      Module['kavexWake'] = function () { safeSetTimeout(once, 0); };
      safeSetTimeout(once, ms);
    });
  },
  // A refresh: the page counts the program's frames and notes when the first came.
  kavex_page_frame: function () {
    if (!Module['kavexFrames']) Module['kavexFirstFrame'] = performance.now();
    Module['kavexFrames'] = (Module['kavexFrames'] | 0) + 1;
  },
  // Browsers keep a page silent until its visitor first clicks or types;
  // until then the library makes no sound and asks again at the next one.
  kavex_page_sound_allowed: function () {
    return !navigator.userActivation || navigator.userActivation.hasBeenActive ? 1 : 0;
  },
  // The window's title is the page's.
  kavex_page_title: function (title) {
    document.title = UTF8ToString(title);
  },
  // A file saved whole: the page may offer it to the user (the shell's kavexSaved).
  kavex_page_saved: function (name) {
    if (typeof Module['kavexSaved'] !== 'function') return;
    var path = UTF8ToString(name);
    Module['kavexSaved'](path, FS.readFile(path));
  },
});
