// The menu bar with its keyboard, message boxes, the file dialogs and the
// downloads of what the program saves.
Object.assign(VelkorDom, {
  menubar(hd) {
    const dlg = this.els[hd];
    const bar = document.createElement('div');
    bar.className = 'menubar';
    bar.setAttribute('role', 'menubar');
    bar.setAttribute('aria-label', 'Menu');
    dlg.insertBefore(bar, dlg._client);
    dlg._menubar = bar;
    bar._hd = hd;
    document.addEventListener('keydown', e => this.menuKey(bar, e), true);
    document.addEventListener('focusin', e => {
      if (dlg.contains(e.target) && !bar.contains(e.target)) bar._before = e.target;
    });
    document.addEventListener('pointerdown', e => {
      if (!bar.contains(e.target) && !e.target.closest('.menu')) this.closeMenus(bar);
    }, true);
    return this.add(bar);
  },
  popup(hb, text) {
    const bar = this.els[hb];
    const top = document.createElement('button');
    top.className = 'menutop';
    top.setAttribute('role', 'menuitem');
    top.setAttribute('aria-haspopup', 'menu');
    top.setAttribute('aria-expanded', 'false');
    top.tabIndex = bar.children.length ? -1 : 0;
    top._key = this.mnemonic(top, text);
    const menu = document.createElement('div');
    menu.className = 'menu';
    menu.setAttribute('role', 'menu');
    menu.setAttribute('aria-label', this.plain(text));
    menu.hidden = true;
    top._menu = menu;
    top.onclick = () => (menu.hidden ? this.openMenu(bar, top, false) : this.closeMenus(bar));
    menu._top = top;
    bar.appendChild(top);
    this.desktop().appendChild(menu); // above every window while open
    return this.add(top);
  },
  menuitem(ht, text, id) {
    const top = this.els[ht];
    const bar = top.closest('.menubar');
    if (!id) {
      const s = document.createElement('div');
      s.setAttribute('role', 'separator');
      s.className = 'sep';
      top._menu.appendChild(s);
      return 0;
    }
    const it = document.createElement('button');
    it.className = 'menuitem';
    it.setAttribute('role', 'menuitem');
    it.tabIndex = -1;
    const mark = document.createElement('span');
    mark.className = 'mark';
    mark.setAttribute('aria-hidden', 'true');
    const label = document.createElement('span');
    it._key = this.mnemonic(label, text);
    it.setAttribute('aria-label', this.plain(text));
    it.append(mark, label);
    it._mark = mark;
    it.onclick = () => { this.leaveMenu(bar); this.push([1, bar._hd, id, 0, 0, 0, 0]); };
    top._menu.appendChild(it);
    return this.add(it);
  },
  checkItem(h, on) {
    const it = this.els[h];
    it.setAttribute('role', 'menuitemcheckbox');
    it.setAttribute('aria-checked', on ? 'true' : 'false');
    it._mark.textContent = on ? '\u2713' : '';
  },
  // Back to the control that had the focus before the menu bar took it.
  leaveMenu(bar) {
    this.closeMenus(bar);
    const f = bar._before && document.contains(bar._before) && bar._before.offsetParent ? bar._before
                                                                                       : this.firstFocus(this.els[bar._hd]._client);
    if (f) f.focus();
  },
  tops(bar) { return [...bar.querySelectorAll('.menutop')]; },
  openMenu(bar, top, focusFirst) {
    this.closeMenus(bar);
    const d = this.desktop().getBoundingClientRect(), r = top.getBoundingClientRect();
    top._menu.style.left = (r.left - d.left) + 'px';
    top._menu.style.top = (r.bottom - d.top) + 'px';
    top._menu.hidden = false;
    top.setAttribute('aria-expanded', 'true');
    top.focus();
    if (focusFirst) top._menu.querySelector('.menuitem').focus();
  },
  closeMenus(bar) {
    for (const t of this.tops(bar)) { t._menu.hidden = true; t.setAttribute('aria-expanded', 'false'); }
  },
  // Alt+letter opens a menu, F10 goes to the menu bar; inside, the arrows,
  // Enter, Escape and the items' letters.
  menuKey(bar, e) {
    const dlg = this.els[bar._hd];
    const blocked = [...document.querySelectorAll('.backdrop')].some(b => +b.style.zIndex > +dlg.style.zIndex);
    if (!dlg || dlg.hidden || blocked) return;
    const tops = this.tops(bar);
    const k = e.key.toLowerCase();
    const a = document.activeElement;
    const inBar = bar.contains(a) || (a.closest('.menu') && a.closest('.menu')._top.parentNode === bar);
    let done = true;
    if (e.altKey && !e.ctrlKey && tops.some(t => t._key === k)) this.openMenu(bar, tops.find(t => t._key === k), true);
    else if (e.key === 'F10' && !e.shiftKey) inBar ? this.leaveMenu(bar) : tops[0].focus();
    else if (!inBar) done = false;
    else done = this.menuNav(bar, tops, e, k);
    if (done) { e.preventDefault(); e.stopPropagation(); }
  },
  menuNav(bar, tops, e, k) {
    const a = document.activeElement;
    const top = a.classList.contains('menutop') ? a : a.closest('.menu')._top;
    const open = !top._menu.hidden;
    const items = [...top._menu.querySelectorAll('.menuitem')];
    const i = tops.indexOf(top), j = items.indexOf(a);
    if (e.key === 'ArrowRight' || e.key === 'ArrowLeft') {
      const n = tops[(i + (e.key === 'ArrowRight' ? 1 : tops.length - 1)) % tops.length];
      open ? this.openMenu(bar, n, true) : n.focus();
    } else if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      if (!open) this.openMenu(bar, top, true);
      else {
        const down = e.key === 'ArrowDown';
        items[j < 0 ? (down ? 0 : items.length - 1) : (j + (down ? 1 : items.length - 1)) % items.length].focus();
      }
    } else if (e.key === 'Escape') {
      open ? (this.closeMenus(bar), top.focus()) : this.leaveMenu(bar);
    } else if ((e.key === 'Enter' || e.key === ' ') && j < 0) this.openMenu(bar, top, true);
    else if (e.key === 'Enter' || e.key === ' ') a.click();
    else if (open && items.some(t => t._key === k)) items.find(t => t._key === k).click();
    else if (!open && tops.some(t => t._key === k)) this.openMenu(bar, tops.find(t => t._key === k), true);
    else return false;
    return true;
  },
  // A modal box of the page: caption, icon (1 stop, 2 question, 3
  // exclamation, 4 information), text, and OK or Yes and No.
  frame(caption) {
    const b = document.createElement('div');
    b.className = 'backdrop';
    b.style.zIndex = ++this.z;
    const box = document.createElement('div');
    box.className = 'dlg msgbox';
    box.setAttribute('role', 'alertdialog');
    box.setAttribute('aria-modal', 'true');
    box.setAttribute('aria-label', caption);
    box.style.zIndex = ++this.z;
    const title = document.createElement('div');
    title.className = 'title';
    title.textContent = caption;
    const body = document.createElement('div');
    body.className = 'body';
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    box.append(title, body, buttons);
    box._backdrop = b;
    box._focusBack = document.activeElement;
    this.desktop().append(b, box);
    return box;
  },
  place(box) {
    const d = this.desktop().getBoundingClientRect();
    const main = document.querySelector('.dlg');
    const r = main ? main.getBoundingClientRect() : d;
    box.style.left = Math.max(0, r.left - d.left + (r.width - box.offsetWidth) / 2) + 'px';
    box.style.top = Math.max(0, r.top - d.top + (r.height - box.offsetHeight) / 3) + 'px';
  },
  button(box, text, fn) {
    const btn = document.createElement('button');
    btn.type = 'button';
    btn.textContent = text;
    btn.onclick = fn;
    box.querySelector('.buttons').appendChild(btn);
    return btn;
  },
  close(box) {
    box._backdrop.remove();
    box.remove();
    if (box._focusBack && document.contains(box._focusBack)) box._focusBack.focus();
  },
  message(caption, text, icon, yesNo) {
    const box = this.frame(caption);
    const body = box.querySelector('.body');
    if (icon) {
      const i = document.createElement('div');
      i.className = 'icon icon' + icon;
      i.setAttribute('role', 'img');
      i.setAttribute('aria-label', ['', 'Error', 'Question', 'Warning', 'Information'][icon]);
      i.textContent = ['', '\u00d7', '?', '!', 'i'][icon];
      body.appendChild(i);
    }
    const t = document.createElement('div');
    t.className = 'text';
    t.id = 'msg' + this.z;
    t.textContent = text;
    body.appendChild(t);
    box.setAttribute('aria-describedby', t.id);
    const done = r => { this.close(box); this.push([5, 0, 0, r, 0, 0, 0]); };
    const first = yesNo ? this.button(box, 'Yes', () => done(6)) : this.button(box, 'OK', () => done(1));
    if (yesNo) this.button(box, 'No', () => done(7));
    box.addEventListener('keydown', e => { if (e.key === 'Escape') { e.preventDefault(); done(yesNo ? 2 : 1); } });
    this.place(box);
    first.focus();
  },
  // The page's own Open and Save As dialogs; the choice comes back as a
  // file event (code 1 chosen, 0 cancelled, id the file type).
  fileDialog(open, caption, name, filters, index, accept) {
    const box = this.frame(caption);
    box.setAttribute('role', 'dialog');
    const body = box.querySelector('.body');
    body.classList.add('filedlg');
    const done = (ok, type) => { this.close(box); this.push([6, 0, type, ok, 0, 0, 0]); };
    const field = (text, el) => {
      const l = document.createElement('label');
      l.textContent = text;
      l.appendChild(el);
      body.appendChild(l);
      return el;
    };
    let input, types;
    if (open) {
      input = field('File name: ', document.createElement('input'));
      input.type = 'file';
      input.accept = accept;
      input.onchange = async () => {
        const f = input.files[0];
        if (!f) return;
        const path = this.dir + f.name.replace(/[\/\\]/g, '_');
        FS.writeFile(path, new Uint8Array(await f.arrayBuffer()));
        this.stamps[path] = FS.stat(path).mtime.getTime();
        this.chosen = path;
        done(1, 0);
      };
    } else {
      input = field('File name: ', document.createElement('input'));
      input.value = name;
      types = field('Save as type: ', document.createElement('select'));
      for (const f of filters.split('\n')) types.add(new Option(f));
      types.selectedIndex = index - 1;
      const ok = this.button(box, 'Save', () => {
        const n = input.value.trim().replace(/^.*[\/\\]/, '');
        if (!n) return input.focus();
        this.chosen = n;
        done(1, types.selectedIndex + 1);
      });
      input.addEventListener('keydown', e => { if (e.key === 'Enter') ok.click(); });
    }
    this.button(box, 'Cancel', () => done(0, 0));
    box.addEventListener('keydown', e => { if (e.key === 'Escape') { e.preventDefault(); done(0, 0); } });
    this.place(box);
    input.focus();
  },
  // Every project or report the program wrote since the last look goes to
  // the browser's downloads under its name.
  downloads() {
    for (const n of FS.readdir(this.dir)) {
      const p = this.dir + n;
      if (!/\.(vlk|txt|htm)$/i.test(n) || !FS.isFile(FS.stat(p).mode)) continue;
      const t = FS.stat(p).mtime.getTime();
      if (this.stamps[p] === t) continue;
      this.stamps[p] = t;
      const a = document.createElement('a');
      a.href = URL.createObjectURL(new Blob([FS.readFile(p)]));
      a.download = n;
      document.body.appendChild(a);
      a.click();
      a.remove();
      (this.saved = this.saved || []).push(p);
    }
  },
});
