// A reference engine for the comparison: once the mail is parsed it reads
// every colour the mail sets (each declaration of each rule of its sheets,
// and the colour attributes and style attributes of its elements) and does
// nothing with them. Any engine that darkens a mail from the colours it reads
// in the page spends at least this much.
(function () {
  var read = 0;
  function rules(list) {
    for (var i = 0; i < list.length; i++) {
      var r = list[i];
      if (r.type === 1) {
        for (var j = 0; j < r.style.length; j++) read += r.style.getPropertyValue(r.style[j]).length;
      } else if (r.cssRules) {
        rules(r.cssRules);
      }
    }
  }
  function readAll() {
    var sheets = document.styleSheets, i;
    for (i = 0; i < sheets.length; i++) {
      try {
        rules(sheets[i].cssRules);
      } catch (e) {
        // A sheet from another origin can't be read.
      }
    }
    var all = document.querySelectorAll('[style],[bgcolor],[bordercolor],font[color],hr[color],body[text]');
    for (i = 0; i < all.length; i++) {
      var el = all[i];
      read += (el.getAttribute('style') || '').length + (el.getAttribute('bgcolor') || '').length +
        (el.getAttribute('bordercolor') || '').length + (el.getAttribute('color') || '').length;
    }
    // Kept where the page can see it, so that no engine optimizes the reads away.
    window.readingFloor = read;
  }
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', readAll);
  else readAll();
})();
