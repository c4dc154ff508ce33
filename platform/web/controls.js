// The controls of a dialog, its menu bar, message boxes and the file
// dialogs, as elements of the page.
Object.assign(VelkorDom, {
  // kind: 0 push, 1 default push, 2 group box, 3 radio, 4 push-like radio,
  // 5 static (align 0 left, 1 centre, 2 right, 3 no wrap), 6 select,
  // 7 list, 8 edit.
  control(hc, hd, kind, id, text, x, y, w, h, group, align) {
    const client = this.els[hc];
    let el, box;
    const click = () => this.push([1, hd, id, 0, 0, 0, 0]);
    if (kind <= 1 || kind === 4) {
      el = document.createElement('button');
      el.type = 'button';
      this.mnemonic(el, text);
      if (kind === 4) {
        el.className = 'pushlike';
        el.setAttribute('role', 'radio');
        el.setAttribute('aria-checked', 'false');
        el.dataset.group = group;
        el.onclick = () => { this.check(el._h, true); click(); };
      } else el.onclick = click;
      if (kind === 1) { el.dataset.def = '1'; el.classList.add('default'); this.els[hd].dataset.def = id; }
    } else if (kind === 2) {
      el = document.createElement('fieldset');
      el.className = 'group';
      const lg = document.createElement('legend');
      lg.textContent = this.plain(text);
      el.appendChild(lg);
      el._text = lg;
    } else if (kind === 3) {
      box = document.createElement('label');
      box.className = 'radio';
      el = document.createElement('input');
      el.type = 'radio';
      el.name = group;
      el.dataset.group = group;
      const span = document.createElement('span');
      this.mnemonic(span, text);
      box.append(el, span);
      el._box = box;
      el._text = span;
      el.onclick = click;
    } else if (kind === 5) {
      el = document.createElement('div');
      el.className = 'static' + ['', ' center', ' right', ' nowrap'][align];
      el.textContent = text;
    } else if (kind === 6 || kind === 7) {
      el = document.createElement('select');
      if (kind === 7) { el.size = 4; el.className = 'list'; }
      el.onchange = () => this.push([1, hd, id, 1, 0, 0, 0]);
      if (kind === 6) h = Math.min(h, 21);
    } else {
      el = document.createElement('textarea');
      el.readOnly = true;
      el.value = text;
    }
    box = box || el;
    box.style.left = x + 'px';
    box.style.top = y + 'px';
    box.style.width = w + 'px';
    box.style.height = h + 'px';
    box.classList.add('ctl');
    el.dataset.id = id;
    client.appendChild(box);
    const hn = this.add(el);
    box._h = hn;
    return hn;
  },
  bitmap(hc, x, y, w, h, ptr) {
    const c = document.createElement('canvas');
    c.width = w;
    c.height = h;
    c.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(HEAPU8.buffer, ptr, w * h * 4).slice(), w, h), 0, 0);
    const img = document.createElement('img');
    img.src = c.toDataURL();
    img.alt = '';
    img.className = 'ctl bitmap';
    Object.assign(img.style, {left: x + 'px', top: y + 'px', width: w + 'px', height: h + 'px'});
    this.els[hc].appendChild(img);
    return this.add(img);
  },
  check(h, on) {
    const el = this.els[h];
    if (el.type === 'radio') { el.checked = on; return; }
    if (on && el.dataset.group)
      for (const o of el.parentNode.querySelectorAll('[data-group="' + el.dataset.group + '"]'))
        if (o !== el) o.setAttribute('aria-checked', 'false');
    el.setAttribute('aria-checked', on ? 'true' : 'false');
  },
  checked(h) {
    const el = this.els[h];
    return el.type === 'radio' ? el.checked : el.getAttribute('aria-checked') === 'true';
  },
  setText(h, text) {
    const el = this.els[h];
    if (el.tagName === 'TEXTAREA') el.value = text;
    else if (el._text) el._text.tagName === 'LEGEND' ? (el._text.textContent = this.plain(text)) : this.mnemonic(el._text, text);
    else if (el.tagName === 'BUTTON') this.mnemonic(el, text);
    else if (el.tagName !== 'SELECT') el.textContent = text;
  },
  getText(h) {
    const el = this.els[h];
    if (el.tagName === 'TEXTAREA') return el.value;
    if (el.tagName === 'SELECT') return el.selectedIndex < 0 ? '' : el.options[el.selectedIndex].text;
    return (el._text || el).textContent;
  },
  rect(h) {
    // As placed, also while hidden (a hidden element has no layout).
    const b = this.box(h), st = b.style;
    const v = (x, o) => (x ? Math.round(parseFloat(x)) : o);
    return [v(st.left, b.offsetLeft), v(st.top, b.offsetTop), v(st.width, b.offsetWidth), v(st.height, b.offsetHeight)];
  },
  at(hc, x, y) {
    const kids = this.els[hc].children;
    for (let i = kids.length - 1; i >= 0; --i) {
      const k = kids[i];
      if (k._h && !k.hidden && x >= k.offsetLeft && x < k.offsetLeft + k.offsetWidth &&
          y >= k.offsetTop && y < k.offsetTop + k.offsetHeight) return k._h;
    }
    return 0;
  },
  item(hc, x, y, w, h, tab) {
    const el = document.createElement('div');
    el.className = 'ctl item';
    el.setAttribute('role', tab ? 'slider' : 'note');
    if (tab) el.tabIndex = 0;
    Object.assign(el.style, {left: x + 'px', top: y + 'px', width: w + 'px', height: h + 'px'});
    this.els[hc].appendChild(el);
    return this.add(el);
  },
  canvas(hc) {
    const client = this.els[hc];
    let c = client._canvas;
    const dpr = window.devicePixelRatio || 1;
    if (!c) {
      c = client._canvas = document.createElement('canvas');
      c.className = 'paint';
      c.setAttribute('aria-hidden', 'true');
      client.prepend(c);
      this.add(c);
    }
    c.width = client.offsetWidth * dpr;
    c.height = client.offsetHeight * dpr;
    c.style.width = client.offsetWidth + 'px';
    c.style.height = client.offsetHeight + 'px';
    const g = c.getContext('2d');
    g.setTransform(dpr, 0, 0, dpr, 0, 0);
    g.strokeStyle = getComputedStyle(client).color;
    g.lineWidth = 1;
    return c._h;
  },
  line(hcv, x0, y0, x1, y1) {
    const g = this.els[hcv].getContext('2d');
    g.beginPath();
    g.moveTo(x0 + 0.5, y0 + 0.5);
    g.lineTo(x1 + 0.5, y1 + 0.5);
    g.stroke();
  },
});
