// The page's interface: files into emscripten's in-memory file system, the
// report layer's outputs into the views and downloads. Every number shown
// comes from the report layer, already rounded as the program rounds.
'use strict';
(function () {
  const $ = (id) => document.getElementById(id);
  const FORMATS = [ // extension, what the download control says
    ['txt', 'text report'], ['htm', 'HTML report'], ['json', 'JSON export'],
    ['csv', 'CSV export'], ['svg', 'chart'], ['pdf', 'PDF report']];
  const DATA = [['text', 'txt', 'text'], ['json', 'json', 'JSON'], ['csv', 'csv', 'CSV']];
  const TYPES = {txt: 'text/plain', htm: 'text/html', json: 'application/json', csv: 'text/csv',
                 svg: 'image/svg+xml', pdf: 'application/pdf'};
  let M = null;
  let NAMES = [];
  const projects = []; // {name, path, modified, title, metrics, total}
  let portfolioSort = {column: 'path', descending: false};

  function el(tag, attributes, ...children) {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(attributes || {}))
      if (key === 'class') node.className = value; else node.setAttribute(key, value);
    for (const child of children) node.append(child);
    return node;
  }
  const text = (bytes) => new TextDecoder().decode(bytes);

  function status(message) { $('status').textContent = message; }
  function problem(message) { $('problems').append(el('li', {class: 'problem'}, message)); }

  // The result of a call into the report layer: its bytes, or nothing after
  // its message is shown.
  function bytesOf(result) {
    for (let i = 0; i < result.warnings.length; ++i) problem(result.warnings[i]);
    if (result.error !== undefined) { problem(result.error); return null; }
    return result.bytes;
  }

  function save(name, bytes, extension) {
    const url = URL.createObjectURL(new Blob([bytes], {type: TYPES[extension] || 'application/octet-stream'}));
    const link = el('a', {href: url, download: name});
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function downloads(container, items) { // items: [label, file name, extension, () => bytes]
    container.replaceChildren();
    for (const [label, name, extension, make] of items) {
      const button = el('button', {type: 'button'}, 'Download ' + label + ' (.' + extension + ')');
      button.addEventListener('click', () => { const bytes = make(); if (bytes) save(name, bytes, extension); });
      container.append(button);
    }
  }

  function stem(name) { const dot = name.lastIndexOf('.'); return dot > 0 ? name.slice(0, dot) : name; }

  // Files: each into /projects, a name met before into a numbered folder.
  async function addFiles(files) {
    $('problems').replaceChildren();
    let count = 0;
    const started = performance.now();
    const contents = await Promise.all(files.map((file) => file.arrayBuffer()));
    const read = performance.now();
    files.forEach((file, i) => {
      let path = file.name;
      for (let n = 2; M.FS.analyzePath(path).exists; ++n) {
        if (!M.FS.analyzePath(String(n)).exists) M.FS.mkdir(String(n));
        path = n + '/' + file.name;
      }
      M.FS.writeFile(path, new Uint8Array(contents[i]));
      const bytes = bytesOf(M.open(path));
      if (bytes === null) { M.FS.unlink(path); return; }
      const project = JSON.parse(text(bytes));
      const metrics = project.values.map((value, k) => ({name: NAMES[k].name, label: NAMES[k].label, value, text: project.texts[k]}));
      projects.push({name: file.name, path, modified: file.lastModified, title: project.title, metrics, total: metrics[0].text});
      ++count;
    });
    status(projects.length + (projects.length === 1 ? ' project open' : ' projects open') +
           (count < files.length ? '; ' + (files.length - count) + ' not read' : '') + '.');
    const opened = performance.now();
    refresh();
    // How long the last files took: reading them, the report layer, drawing (for the benchmark).
    document.body.dataset.timing = [read - started, opened - read, performance.now() - opened].map(Math.round).join(' ');
  }

  // A dropped folder's files, with those of its folders.
  function entryFiles(entry) {
    if (entry.isFile) return new Promise((resolve) => entry.file((f) => resolve([f]), () => resolve([])));
    return new Promise((resolve) => {
      const reader = entry.createReader(), all = [];
      const next = () => reader.readEntries(async (entries) => {
        if (!entries.length) { resolve(all); return; }
        for (const child of entries)
          if (child.isDirectory || /\.vlk$/i.test(child.name)) all.push(...await entryFiles(child));
        next();
      }, () => resolve(all));
      next();
    });
  }

  function fillChoice(select, chosen) {
    const before = select.value;
    select.replaceChildren(...projects.map((p, i) => el('option', {value: String(i)}, p.title + ' \u2013 ' + p.total)));
    select.value = before !== '' && before < projects.length ? before : String(chosen);
  }

  function svgInto(figure, bytes, caption) {
    figure.replaceChildren();
    if (!bytes) return;
    const svg = new DOMParser().parseFromString(text(bytes), 'image/svg+xml').documentElement;
    svg.setAttribute('role', 'img');
    svg.setAttribute('aria-label', caption);
    figure.append(document.importNode(svg, true), el('figcaption', {}, caption));
  }

  function rows(tbody, list) { tbody.replaceChildren(...list.map((cells) => el('tr', {}, ...cells))); }
  const cell = (value, number) => el('td', number ? {class: 'number'} : {}, value);

  function refresh() {
    for (const [select, index] of [[$('project-choice'), projects.length - 1], [$('compare-old'), Math.max(0, projects.length - 2)],
                                   [$('compare-new'), projects.length - 1]]) fillChoice(select, index);
    // Only the view shown is drawn; the others when they are chosen.
    VIEWS[document.querySelector('[role=tab][aria-selected=true]').id.slice(4)]();
  }

  function current() { return projects[Number($('project-choice').value)]; }

  function showProject() {
    const p = current();
    $('project-title').textContent = p ? p.title : M.text(701);
    $('project-total').textContent = p ? p.total : '';
    const body = $('project-bars').tBodies[0];
    if (!p) { body.replaceChildren(); return; }
    rows(body, p.metrics.map((m) => [el('th', {scope: 'row'}, m.label), cell(m.text, true),
      el('td', {class: 'bar', 'aria-hidden': 'true'}, el('span', {style: 'width:' + Math.max(0, Math.min(100, m.value * 100)) + '%'}))]));
    const made = () => Math.floor(Date.now() / 1000);
    downloads($('project-downloads'), FORMATS.map(([extension, label]) => [label, stem(p.name) + '.' + extension, extension,
      () => bytesOf(M.report(p.path, extension, made(), Math.floor(p.modified / 1000)))]));
    svgInto($('project-chart'), bytesOf(M.report(p.path, 'svg', 0, 0)), 'Chart of ' + p.title + ': the ten categories as a radar, the phases and activities as bars');
    showImprove(p);
    showPlan();
    showSensitivity(p);
    showAnswers(p);
  }

  function showSensitivity(p) {
    svgInto($('tornado-chart'), bytesOf(M.sensitivity(p.path, [], 1, 'svg')), 'Tornado chart: the 15 largest swings of the total');
    const bytes = bytesOf(M.sensitivity(p.path, [], 1, 'json'));
    if (!bytes) return;
    rows($('swing-table').tBodies[0], JSON.parse(text(bytes)).questions.slice(0, 15).map((q) => [questionCell(q),
      cell(M.percent(q.low), true), cell(M.percent(q.high), true), cell(M.fixed(q.swing * 100, 1), true)]));
    downloads($('sensitivity-downloads'), DATA.concat([['svg', 'svg', 'tornado chart']]).map(([format, extension, label]) =>
      ['sensitivity as ' + label, stem(p.name) + '-sensitivity.' + extension, extension,
       () => bytesOf(M.sensitivity(p.path, [], 1, format))]));
  }

  // Every answer with its unsure toggle; the interval of each marked set.
  function showAnswers(p) {
    const bytes = bytesOf(M.report(p.path, 'json', 0, 0));
    if (!bytes) return;
    rows($('answers-table').tBodies[0], JSON.parse(text(bytes)).answers.map((a) => {
      const box = el('input', {type: 'checkbox', 'data-question': String(a.question),
                               'aria-label': 'Unsure of question ' + (a.question + 1)});
      box.addEventListener('change', showUnsure);
      return [el('td', {}, (a.question + 1) + '. ' + a.text), cell(a.label), el('td', {}, box)];
    }));
    showUnsure();
  }

  function showUnsure() {
    const p = current();
    const unsure = Array.from(document.querySelectorAll('#answers-table input:checked')).map((b) => Number(b.dataset.question));
    if (!p || !unsure.length) { $('unsure-result').textContent = 'No answer marked unsure: the total is ' + (p ? p.total : '') + '.'; return; }
    const bytes = bytesOf(M.sensitivity(p.path, unsure, 1, 'json'));
    if (!bytes) return;
    const total = JSON.parse(text(bytes)).unsure.metrics[0];
    $('unsure-result').textContent = 'With ' + unsure.length + (unsure.length === 1 ? ' answer' : ' answers') +
      ' one level either way, the total lies between ' + M.percent(total.low) + ' and ' + M.percent(total.high) + ' (as answered ' + M.percent(total.value) + ').';
  }

  function teamPaths() {
    return Array.from(document.querySelectorAll('#team-members input:checked')).map((b) => b.value);
  }

  function showTeam() {
    const box = $('team-members'), before = new Set(teamPaths());
    const fresh = box.children.length !== projects.length;
    box.replaceChildren(...projects.map((p, i) => {
      const input = el('input', {type: 'checkbox', id: 'member-' + i, value: p.path});
      input.checked = fresh || before.has(p.path);
      input.addEventListener('change', showTeam);
      return el('span', {}, input, ' ', el('label', {for: 'member-' + i}, p.title + ' (' + p.path + ')'));
    }));
    const paths = teamPaths();
    if (paths.length < 2) { $('team-agreement').textContent = 'Choose at least two assessors.'; return; }
    downloads($('team-downloads'), DATA.map(([format, extension, label]) => ['team as ' + label, 'team.' + extension,
      extension, () => bytesOf(M.team(paths, format))]).concat([['consensus project', 'consensus.vlk', 'vlk',
      () => bytesOf(M.consensus(paths))]]));
    const summary = bytesOf(M.team(paths, 'text')), bytes = bytesOf(M.team(paths, 'json'));
    if (!summary || !bytes) return;
    $('team-agreement').textContent = text(summary).split('\n')[1];
    const team = JSON.parse(text(bytes));
    rows($('team-table').tBodies[0], team.consensus.metrics.map((m) => [el('th', {scope: 'row'}, m.label),
      cell(M.percent(m.value), true), cell(M.percent(m.low), true), cell(M.percent(m.high), true)]));
    const table = $('discuss-table');
    table.tHead.replaceChildren(el('tr', {}, ...['Question', 'Swing (points)', ...team.assessors.map((a) => 'Answer of ' + a.title), 'Consensus answer']
      .map((h) => el('th', {scope: 'col'}, h))));
    rows(table.tBodies[0], team.discuss.slice(0, 10).map((n) => {
      const q = team.questions[n - 1];
      return [cell(n + '. ' + q.text), cell(M.fixed(q.swing * 100, 1), true), ...q.answers.map((a) => cell(String(a))),
              cell(String(q.consensus))];
    }));
  }

  // Outcomes: a select per project, kept by path; as CSV for calibrate.
  const outcomes = new Map();
  function csvField(s) { return /[",\r\n]/.test(s) ? '"' + s.replace(/"/g, '""') + '"' : s; }
  function outcomesCsv() {
    return 'file,total\n' + projects.map((p) => csvField(p.path) + ',' + (outcomes.get(p.path) || '') + '\n').join('');
  }

  function showCalibration() {
    rows($('outcome-table').tBodies[0], projects.map((p, i) => {
      const select = el('select', {id: 'outcome-' + i, 'aria-label': 'Outcome of ' + p.title});
      for (const [value, label] of [['', 'Not known'], ['1', 'Met'], ['0', 'Missed']]) select.append(el('option', {value}, label));
      select.value = outcomes.get(p.path) || '';
      select.addEventListener('change', () => { outcomes.set(p.path, select.value); calibrate(); });
      return [cell(p.path), cell(p.title), cell(p.total, true), el('td', {}, select)];
    }));
    calibrate();
  }

  function calibrate() {
    const encoder = new TextEncoder();
    downloads($('calibration-downloads'), [['outcomes', 'outcomes.csv', 'csv', () => encoder.encode(outcomesCsv())]]);
    if (!projects.some((p) => outcomes.get(p.path))) { $('calibration-text').textContent = 'No outcome entered yet.'; $('reliability-chart').replaceChildren(); return; }
    M.FS.writeFile('outcomes.csv', outcomesCsv());
    const result = bytesOf(M.calibrate('outcomes.csv', 'text'));
    $('calibration-text').textContent = result ? text(result) : '';
    svgInto($('reliability-chart'), bytesOf(M.calibrate('outcomes.csv', 'svg')), 'Reliability diagram: forecast against observed');
    downloads($('calibration-downloads'), [['outcomes', 'outcomes.csv', 'csv', () => encoder.encode(outcomesCsv())]].concat(
      DATA.concat([['svg', 'svg', 'reliability diagram']]).map(([format, extension, label]) => ['calibration as ' + label,
        'calibration.' + extension, extension, () => bytesOf(M.calibrate('outcomes.csv', format))])));
  }

  // An outcomes file: its "file" and "total" columns (1, 0 or nothing).
  async function openOutcomes(file) {
    const lines = (await file.text()).split(/\r?\n/).filter((l) => l);
    const split = (line) => { const cells = []; line.replace(/("([^"]|"")*"|[^,]*)(,|$)/g, (m, c) => { cells.push(c.replace(/^"|"$/g, '').replace(/""/g, '"')); return ''; }); return cells; };
    const header = split(lines[0]), f = header.indexOf('file'), t = header.indexOf('total');
    if (f < 0 || t < 0) { problem(file.name + ': the header names no "file" and "total" columns.'); return; }
    for (const line of lines.slice(1)) { const cells = split(line); outcomes.set(cells[f], cells[t]); }
    showCalibration();
  }

  function questionCell(s) { return el('td', {}, s.number + '. ' + s.text); }

  function showImprove(p) {
    const bytes = bytesOf(M.improve(p.path, 0, 0, 'json'));
    if (!bytes) return;
    const all = JSON.parse(text(bytes)).suggestions;
    const practice = all.filter((s) => !s.context).concat(all.filter((s) => s.context)).slice(0, 10);
    rows($('improve-table').tBodies[0], practice.map((s) => [questionCell(s), cell(s.category),
      cell(s.from_label), cell(s.to_label), cell(M.points(s.gain), true), cell(M.percent(s.total), true)]));
    downloads($('improve-downloads'), DATA.map(([format, extension, label]) => ['suggestions as ' + label,
      stem(p.name) + '-improve.' + extension, extension, () => bytesOf(M.improve(p.path, 10, 0, format))]));
  }

  function showPlan() {
    const p = current();
    if (!p) return;
    const target = Number($('target').value);
    $('target-value').textContent = target + '%';
    const bytes = bytesOf(M.improve(p.path, 0, target, 'json'));
    if (!bytes) return;
    const plan = JSON.parse(text(bytes));
    $('plan-summary').textContent = (plan.reached ? 'Reached: ' : 'Not reached; the steps end at ') + M.percent(plan.total) +
      ' after ' + plan.steps.length + (plan.steps.length === 1 ? ' step.' : ' steps.');
    rows($('plan-table').tBodies[0], plan.steps.map((s) => [cell(String(s.step), true), questionCell(s),
      cell(s.from_label), cell(s.to_label), cell(M.percent(s.total), true)]));
    downloads($('plan-downloads'), DATA.map(([format, extension, label]) => ['plan as ' + label,
      stem(p.name) + '-plan.' + extension, extension, () => bytesOf(M.improve(p.path, 0, target, format))]));
  }

  function showCompare() {
    const old = projects[Number($('compare-old').value)], now = projects[Number($('compare-new').value)];
    if (!old || !now) return;
    rows($('compare-table').tBodies[0], old.metrics.map((m, k) => [el('th', {scope: 'row'}, m.label),
      cell(m.text, true), cell(now.metrics[k].text, true), cell(M.points(now.metrics[k].value - m.value), true)]));
    downloads($('compare-downloads'), DATA.map(([format, extension, label]) => ['comparison as ' + label,
      'compare.' + extension, extension, () => bytesOf(M.compare(old.path, now.path, format))]));
    svgInto($('compare-old-chart'), bytesOf(M.report(old.path, 'svg', 0, 0)), 'Old: ' + old.title);
    svgInto($('compare-new-chart'), bytesOf(M.report(now.path, 'svg', 0, 0)), 'New: ' + now.title);
  }

  function trendPaths() {
    const order = $('trend-order').value, list = projects.slice();
    if (order === 'name') list.sort((a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : 0));
    if (order === 'date') list.sort((a, b) => a.modified - b.modified);
    return list.map((p) => p.path);
  }

  function showTrend() {
    if (!projects.length) return;
    const paths = trendPaths();
    downloads($('trend-downloads'), DATA.concat([['svg', 'svg', 'chart']]).map(([format, extension, label]) =>
      ['trend as ' + label, 'trend.' + extension, extension, () => bytesOf(M.trend(paths, format))]));
    svgInto($('trend-chart'), bytesOf(M.trend(paths, 'svg')), 'Trend of the total, the three summaries and the ten categories');
    const bytes = bytesOf(M.trend(paths, 'json'));
    if (!bytes) return;
    const trend = JSON.parse(text(bytes));
    const table = $('trend-table');
    table.tHead.replaceChildren(el('tr', {}, el('th', {scope: 'col'}, 'Probability'),
      ...trend.projects.map((p) => el('th', {scope: 'col', class: 'number'}, p.title)), el('th', {scope: 'col', class: 'number'}, 'Change')));
    rows(table.tBodies[0], trend.series.map((s) => [el('th', {scope: 'row'}, s.label),
      ...s.values.map((v) => cell(M.percent(v), true)), cell(M.points(s.change), true)]));
  }

  function weakest(metrics) {
    let k = 4;
    for (let i = 5; i < 14; ++i) if (metrics[i].value < metrics[k].value) k = i;
    return metrics[k];
  }

  function showPortfolio() {
    if (!projects.length) return;
    const paths = projects.map((p) => p.path);
    downloads($('portfolio-downloads'), DATA.map(([format, extension, label]) => ['portfolio as ' + label,
      'portfolio.' + extension, extension, () => bytesOf(M.portfolio(paths, format, false))]));
    const columns = [['path', 'File'], ['title', 'Title'], ['total', 'Total'], ['technical', 'Technical'],
                     ['cost', 'Cost'], ['schedule', 'Schedule'], ['weakest', 'Weakest category']];
    const key = (p, column) => ({path: p.path, title: p.title, total: p.metrics[0].value, technical: p.metrics[1].value,
      cost: p.metrics[2].value, schedule: p.metrics[3].value, weakest: weakest(p.metrics).value})[column];
    const list = projects.slice().sort((a, b) => {
      const x = key(a, portfolioSort.column), y = key(b, portfolioSort.column);
      return (x < y ? -1 : x > y ? 1 : 0) * (portfolioSort.descending ? -1 : 1);
    });
    const table = $('portfolio-table');
    table.tHead.replaceChildren(el('tr', {}, ...columns.map(([column, label]) => {
      const sorted = portfolioSort.column === column;
      const button = el('button', {type: 'button'}, label);
      button.addEventListener('click', () => {
        portfolioSort = {column, descending: sorted && !portfolioSort.descending};
        showPortfolio();
        table.tHead.querySelectorAll('button')[columns.findIndex((c) => c[0] === column)].focus();
      });
      return el('th', {scope: 'col', 'aria-sort': sorted ? (portfolioSort.descending ? 'descending' : 'ascending') : 'none'}, button);
    })));
    rows(table.tBodies[0], list.map((p) => {
      const w = weakest(p.metrics);
      return [cell(p.path), cell(p.title), cell(p.metrics[0].text, true), cell(p.metrics[1].text, true),
              cell(p.metrics[2].text, true), cell(p.metrics[3].text, true), cell(w.name + ' ' + w.text)];
    }));
    portfolioChart(list);
  }

  // Bars of the totals, riskiest lowest; the table beside it holds the numbers.
  function portfolioChart(list) {
    const ns = 'http://www.w3.org/2000/svg', shown = list.slice(0, 60), height = 22 * shown.length + 10;
    const svg = document.createElementNS(ns, 'svg');
    svg.setAttribute('viewBox', '0 0 700 ' + height);
    svg.setAttribute('width', '700');
    svg.setAttribute('role', 'img');
    svg.setAttribute('aria-label', 'Total probability of each project' + (list.length > 60 ? ', the first 60 as sorted' : ''));
    shown.forEach((p, i) => {
      const add = (tag, attributes, content) => {
        const node = document.createElementNS(ns, tag);
        for (const [k, v] of Object.entries(attributes)) node.setAttribute(k, v);
        if (content) node.textContent = content;
        svg.append(node);
      };
      add('text', {x: 0, y: 22 * i + 20, 'font-size': 13, fill: '#1a1a1a'}, p.title.slice(0, 28));
      add('rect', {x: 230, y: 22 * i + 6, height: 16, width: Math.max(0, Math.min(1, p.metrics[0].value)) * 400, fill: '#0b4f9c'});
      add('text', {x: 640, y: 22 * i + 20, 'font-size': 13, fill: '#1a1a1a', 'text-anchor': 'end'}, p.total);
    });
    $('portfolio-chart').replaceChildren(svg);
  }

  function tabs() {
    const list = Array.from(document.querySelectorAll('[role=tab]'));
    const select = (tab) => {
      for (const t of list) {
        const on = t === tab;
        t.setAttribute('aria-selected', String(on));
        t.tabIndex = on ? 0 : -1;
        $(t.getAttribute('aria-controls')).hidden = !on;
      }
      VIEWS[tab.id.slice(4)]();
      tab.focus();
    };
    list.forEach((tab, i) => {
      tab.addEventListener('click', () => select(tab));
      tab.addEventListener('keydown', (e) => {
        const step = {ArrowRight: 1, ArrowLeft: -1}[e.key];
        if (step) { e.preventDefault(); select(list[(i + step + list.length) % list.length]); }
        if (e.key === 'Home' || e.key === 'End') { e.preventDefault(); select(list[e.key === 'Home' ? 0 : list.length - 1]); }
      });
    });
  }

  const VIEWS = {project: () => showProject(), compare: () => showCompare(), trend: () => showTrend(),
                 portfolio: () => showPortfolio(), team: () => showTeam(), calibration: () => showCalibration()};

  function wire() {
    $('files').addEventListener('change', (e) => { addFiles(Array.from(e.target.files)); e.target.value = ''; });
    const drop = $('drop');
    drop.addEventListener('dragover', (e) => { e.preventDefault(); drop.classList.add('over'); });
    drop.addEventListener('dragleave', () => drop.classList.remove('over'));
    drop.addEventListener('drop', async (e) => {
      e.preventDefault();
      drop.classList.remove('over');
      const entries = Array.from(e.dataTransfer.items).map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry());
      const files = [];
      for (const [i, entry] of entries.entries())
        files.push(...(entry ? await entryFiles(entry) : [e.dataTransfer.files[i]]));
      addFiles(files);
    });
    $('project-choice').addEventListener('change', showProject);
    $('target').addEventListener('input', showPlan);
    for (const id of ['compare-old', 'compare-new']) $(id).addEventListener('change', showCompare);
    $('trend-order').addEventListener('change', showTrend);
    $('outcomes-file').addEventListener('change', (e) => { if (e.target.files[0]) openOutcomes(e.target.files[0]); e.target.value = ''; });
    tabs();
  }

  VelkorAnalysis().then((module) => {
    M = module;
    NAMES = JSON.parse(M.metricNames());
    M.FS.mkdir('/projects');
    M.FS.chdir('/projects');
    wire();
    showProject();
    status(M.text(701));
    document.body.dataset.readyMs = String(Math.round(performance.now())); // since the page was opened
    document.body.dataset.ready = 'true';
  });
})();
