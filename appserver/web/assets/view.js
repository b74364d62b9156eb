// The automatic display of a service's page: one sub-group at a time, full screen, stepping every
// N seconds; next and previous by buttons, arrow keys and swipes. At each step the shown sub-group is
// fetched again (the browser revalidates it by its ETag, so an unchanged one costs a 304), so a change
// made at the desk appears on the line at the next step.
'use strict';
(function () {
  const list = document.getElementById('subgroups');
  const start = document.getElementById('auto');
  if (!list || !start) return;
  const stepper = document.getElementById('stepper');
  const position = document.getElementById('position');
  const pauseButton = document.getElementById('pause');
  const interval = document.getElementById('interval');
  let index = 0;
  let timer = null;

  const items = () => Array.from(list.querySelectorAll('article.subgroup'));
  const seconds = () => Math.max(1, Number(interval.value) || 2);

  function showFullPhoto(article) {
    const img = article.querySelector('.photo img[data-full]');
    if (img && img.getAttribute('src') !== img.dataset.full) img.setAttribute('src', img.dataset.full);
  }

  function show(i) {
    const all = items();
    if (all.length === 0) return;
    index = (i + all.length) % all.length;
    all.forEach((a, n) => a.classList.toggle('current', n === index));
    showFullPhoto(all[index]);
    position.textContent = (index + 1) + ' de ' + all.length;
    refresh(all[index]);
  }

  // The server's HTML of one sub-group (every stored value escaped there) replaces the shown one
  // only when it changed.
  async function refresh(article) {
    try {
      const response = await fetch(list.dataset.base + '/' + encodeURIComponent(article.dataset.code),
                                   { cache: 'no-cache', credentials: 'same-origin' });
      if (!response.ok) return;
      const html = await response.text();
      if (article.dataset.html === html) return;
      const holder = document.createElement('template');
      holder.innerHTML = html;
      const fresh = holder.content.firstElementChild;
      if (!fresh || !article.isConnected) return;
      fresh.dataset.html = html;
      fresh.classList.toggle('current', article.classList.contains('current'));
      if (fresh.classList.contains('current')) showFullPhoto(fresh);
      article.replaceWith(fresh);
    } catch (e) { /* the line keeps showing what it has */ }
  }

  function schedule() {
    clearInterval(timer);
    timer = setInterval(() => show(index + 1), seconds() * 1000);
    pauseButton.textContent = 'Pausar';
  }

  function pause() {
    if (timer) { clearInterval(timer); timer = null; pauseButton.textContent = 'Continuar'; }
    else schedule();
  }

  function step(delta) { show(index + delta); if (timer) schedule(); }

  function enter() {
    document.body.classList.add('showing');
    stepper.hidden = false;
    show(index);
    schedule();
    if (document.documentElement.requestFullscreen)
      document.documentElement.requestFullscreen().catch(() => {});
  }

  function leave() {
    clearInterval(timer);
    timer = null;
    document.body.classList.remove('showing');
    stepper.hidden = true;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  }

  start.addEventListener('click', enter);
  document.getElementById('next').addEventListener('click', () => step(1));
  document.getElementById('prev').addEventListener('click', () => step(-1));
  document.getElementById('leave').addEventListener('click', leave);
  pauseButton.addEventListener('click', pause);
  interval.addEventListener('change', () => { if (timer) schedule(); });
  document.addEventListener('keydown', (e) => {
    if (!document.body.classList.contains('showing')) return;
    if (e.key === 'ArrowRight' || e.key === 'PageDown') step(1);
    else if (e.key === 'ArrowLeft' || e.key === 'PageUp') step(-1);
    else if (e.key === ' ') { e.preventDefault(); pause(); }
    else if (e.key === 'Escape') leave();
  });
  let touchX = null;
  list.addEventListener('touchstart', (e) => { touchX = e.changedTouches[0].clientX; }, { passive: true });
  list.addEventListener('touchend', (e) => {
    if (touchX === null || !document.body.classList.contains('showing')) return;
    const dx = e.changedTouches[0].clientX - touchX;
    touchX = null;
    if (Math.abs(dx) > 50) step(dx < 0 ? 1 : -1);
  }, { passive: true });
  list.addEventListener('click', (e) => {
    if (!document.body.classList.contains('showing')) return;
    step(e.clientX > window.innerWidth / 2 ? 1 : -1);
  });
})();
