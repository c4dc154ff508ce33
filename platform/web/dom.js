// The page side of the browser backend: a table of elements the C++ side
// addresses by number, the dialogs' elements, and one queue of the page's
// events that the message loop waits on. Handlers only queue events and
// wake the waiting loop; the program runs nothing from inside them.
var VelkorDom = {
  els: [null],
  queue: [],
  waiter: null,
  z: 10,
  chosen: '',
  stamps: {},
  dir: '/home/web_user/',
  add(el) { el._h = this.els.length; this.els.push(el); return el._h; },
  push(ev) {
    this.queue.push(ev);
    if (this.waiter) { const w = this.waiter; this.waiter = null; w(); }
  },
  async next() {
    while (!this.queue.length) await new Promise(r => { this.waiter = r; });
    return this.queue.shift();
  },
  box(h) { const el = this.els[h]; return el ? (el._box || el) : null; },
  desktop() { return document.getElementById('desktop') || document.body; },
  // "&File" as text with its mnemonic underlined; "&&" is one ampersand.
  mnemonic(el, text) {
    let key = '';
    el.textContent = '';
    const parts = text.split('\t');
    const s = parts[0];
    for (let i = 0; i < s.length; ++i) {
      if (s[i] === '&' && i + 1 < s.length && s[i + 1] !== '&' && !key) {
        key = s[++i];
        const u = document.createElement('u');
        u.textContent = key;
        el.appendChild(u);
      } else {
        if (s[i] === '&') ++i;
        el.appendChild(document.createTextNode(s[i] || ''));
      }
    }
    if (parts[1]) {
      const k = document.createElement('span');
      k.className = 'accel';
      k.textContent = parts[1];
      el.appendChild(k);
    }
    return key.toLowerCase();
  },
  plain(text) { return text.replace(/&(&?)/g, '$1').split('\t')[0]; },
  dialog(caption, w, h, closeBox) {
    const dlg = document.createElement('div');
    dlg.className = 'dlg';
    dlg.setAttribute('role', 'dialog');
    dlg.hidden = true;
    const title = document.createElement('div');
    title.className = 'title';
    const cap = document.createElement('span');
    cap.className = 'caption';
    title.appendChild(cap);
    dlg._cap = cap;
    const hd = this.add(dlg);
    if (closeBox) {
      const x = document.createElement('button');
      x.className = 'close';
      x.setAttribute('aria-label', 'Close');
      x.tabIndex = -1;
      x.textContent = '\u00d7';
      x.onclick = () => this.push([2, hd, 0, 0, 0, 0, 0]);
      title.appendChild(x);
    }
    dlg.appendChild(title);
    const client = document.createElement('div');
    client.className = 'client';
    client.style.width = w + 'px';
    client.style.height = h + 'px';
    dlg.appendChild(client);
    dlg._client = client;
    this.add(client);
    this.desktop().appendChild(dlg);
    this.listen(dlg, client, hd);
    return hd;
  },
  listen(dlg, client, hd) {
    dlg.addEventListener('keydown', e => {
      const t = e.target;
      const plain = !e.altKey && !e.ctrlKey && !e.metaKey;
      const arrows = {ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28};
      if (e.key === 'F1') this.push([1, hd, 0xE146, 0, 0, 0, 0]);
      else if (plain && e.key === 'Escape') this.push([1, hd, 2, 0, 0, 0, 0]);
      else if (plain && e.key === 'Enter' && t.tagName !== 'BUTTON') this.push([1, hd, +(dlg.dataset.def || 1), 0, 0, 0, 0]);
      else if (plain && arrows[e.key] && (t.dataset.grouped || dlg.dataset.accel))
        this.push([4, hd, t.dataset.grouped ? +t.dataset.id : 0, arrows[e.key], e.shiftKey ? 1 : 0, 0, 0]);
      else return;
      e.preventDefault();
      e.stopPropagation();
    });
    const mouse = (kind) => e => {
      if (kind === 0 && (e.button !== 0 || e.target.closest('button,input,select,textarea,label')))
        return;
      if (kind === 1 && e.button !== 0) return;
      const r = client.getBoundingClientRect();
      const z = r.width / client.offsetWidth || 1;
      if (kind === 0) client.setPointerCapture(e.pointerId);
      this.push([3, hd, kind, 0, Math.floor((e.clientX - r.left) / z), Math.floor((e.clientY - r.top) / z), e.buttons & 1]);
    };
    client.addEventListener('pointerdown', mouse(0));
    client.addEventListener('pointerup', mouse(1));
    client.addEventListener('pointermove', mouse(2));
  },
  show(hd, on, modal, ownerClient, x, y, center) {
    const dlg = this.els[hd];
    if (!on) {
      dlg.hidden = true;
      if (dlg._backdrop) { dlg._backdrop.remove(); dlg._backdrop = null; }
      if (dlg._focusBack && document.contains(dlg._focusBack)) dlg._focusBack.focus();
      return;
    }
    const wasHidden = dlg.hidden;
    if (modal && !dlg._backdrop) {
      const b = document.createElement('div');
      b.className = 'backdrop';
      b.style.zIndex = ++this.z;
      this.desktop().appendChild(b);
      dlg._backdrop = b;
    }
    dlg.style.zIndex = ++this.z;
    dlg.hidden = false;
    if (!dlg._placed) {
      dlg._placed = true;
      const d = this.desktop().getBoundingClientRect();
      const oc = this.els[ownerClient];
      if (oc && !center) {
        const r = oc.getBoundingClientRect();
        dlg.style.left = (r.left - d.left + x) + 'px';
        dlg.style.top = (r.top - d.top + y) + 'px';
      } else if (oc) {
        const r = oc.closest('.dlg').getBoundingClientRect();
        dlg.style.left = Math.max(0, r.left - d.left + (r.width - dlg.offsetWidth) / 2) + 'px';
        dlg.style.top = Math.max(0, r.top - d.top + (r.height - dlg.offsetHeight) / 2) + 'px';
      } else {
        dlg.style.left = '0px';
        dlg.style.top = '0px';
      }
    }
    if (wasHidden) {
      dlg._focusBack = document.activeElement;
      const f = dlg._client.querySelector('[data-def="1"]:not([disabled])') || this.firstFocus(dlg._client);
      if (f && !dlg.contains(document.activeElement)) f.focus();
    }
  },
  firstFocus(root) {
    for (const el of root.querySelectorAll('button,input,select,textarea,[tabindex="0"]'))
      if (!el.disabled && el.tabIndex >= 0 && el.offsetParent) return el;
    return null;
  },
  remove(h) {
    const el = this.els[h];
    if (!el) return;
    if (el._backdrop) el._backdrop.remove();
    el.remove();
    for (const c of el.querySelectorAll('*')) if (c._h) this.els[c._h] = null;
    this.els[h] = null;
  },
};
