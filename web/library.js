// The page's side of the library in a browser (graphics/platform_web.cpp).
mergeInto(LibraryManager.library, {
  // A refresh: the page counts the program's frames and notes when the first came.
  kavex_page_frame: function () {
    if (!Module['kavexFrames']) Module['kavexFirstFrame'] = performance.now();
    Module['kavexFrames'] = (Module['kavexFrames'] | 0) + 1;
  },
  // A file saved whole: the page may offer it to the user (the shell's kavexSaved).
  kavex_page_saved: function (name) {
    if (typeof Module['kavexSaved'] !== 'function') return;
    var path = UTF8ToString(name);
    Module['kavexSaved'](path, FS.readFile(path));
  },
});
