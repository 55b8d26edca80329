// Clock widget: a small sample plug-in that shows the time in a corner of the host's view.
(function () {
  'use strict';
  const box = document.createElement('div');
  box.style.cssText = 'position:fixed;right:8px;bottom:8px;font:12px sans-serif;opacity:.7';
  document.body.appendChild(box);
  const tick = () => { box.textContent = new Date().toLocaleTimeString(); };
  tick();
  setInterval(tick, 1000);
})();
