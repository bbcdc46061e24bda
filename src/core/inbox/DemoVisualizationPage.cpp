#include "DemoVisualizationPage.h"

#include "liveinbox/VisualizationFile.h"

#include <QByteArray>

QString DemoVisualizationPage::html()
{
    return QStringLiteral(R"HTML(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Team pulse</title>
<style>
  :root { --bg: #0d0d10; --card: #18181d; --line: #2a2a31; --text: #f2f2f5; --muted: #9a9aa6; --pink: #edb5c2; }
  * { box-sizing: border-box; }
  body { margin: 0; padding: 18px; background: var(--bg); color: var(--text);
         font: 13px/1.45 system-ui, sans-serif; }
  .tag { font-size: 10px; letter-spacing: .12em; text-transform: uppercase; color: var(--pink); }
  header { display: flex; align-items: center; justify-content: space-between; gap: 12px; margin: 4px 0 14px; }
  h1 { margin: 2px 0 0; font-size: 20px; }
  button { font: inherit; color: var(--text); background: var(--card); border: 1px solid var(--line);
           border-radius: 8px; padding: 5px 10px; cursor: pointer; }
  button[disabled] { opacity: .5; cursor: default; }
  .tabs { display: flex; gap: 6px; margin-bottom: 14px; }
  .tabs button[aria-selected="true"] { border-color: var(--pink); color: var(--pink); }
  section { display: none; }
  section.active { display: block; }
  .stats { display: grid; grid-template-columns: repeat(3, 1fr); gap: 8px; }
  .stat { background: var(--card); border-radius: 10px; padding: 10px; }
  .stat b { display: block; font-size: 22px; }
  .stat span { color: var(--muted); font-size: 11px; }
  .flow { display: flex; align-items: center; justify-content: space-between; margin: 16px 4px 6px; }
  .node { background: var(--card); border: 1px solid var(--line); border-radius: 999px; padding: 6px 12px; }
  .track { flex: 1; height: 2px; margin: 0 8px; background: var(--line); position: relative; overflow: hidden; }
  .pulse { position: absolute; top: -2px; width: 24px; height: 6px; border-radius: 3px; background: var(--pink);
           animation: travel 1.8s linear infinite; }
  .track:nth-of-type(4) .pulse { animation-delay: .9s; }
  @keyframes travel { from { left: -24px; } to { left: 100%; } }
  .caption { color: var(--muted); font-size: 11px; text-align: center; }
  ul { list-style: none; margin: 0; padding: 0; }
  li { display: flex; justify-content: space-between; background: var(--card); border-radius: 10px;
       padding: 9px 11px; margin-bottom: 6px; }
  li small { color: var(--muted); }
  .state { font-size: 11px; color: var(--pink); }
  .bars { display: flex; align-items: flex-end; gap: 10px; height: 110px; margin-top: 10px; }
  .bar { flex: 1; background: var(--pink); border-radius: 6px 6px 2px 2px; transform-origin: bottom;
         animation: grow .8s ease-out both; }
  .days { display: flex; gap: 10px; color: var(--muted); font-size: 11px; }
  .days span { flex: 1; text-align: center; }
  @keyframes grow { from { transform: scaleY(.1); } to { transform: scaleY(1); } }
  body.paused * { animation-play-state: paused !important; }
  footer { margin-top: 16px; color: var(--muted); font-size: 11px; text-align: center; }
</style>
</head>
<body>
<div class="tag">Northwind studio · workspace</div>
<header>
  <h1>Team pulse</h1>
  <button id="motion" type="button">Pause motion</button>
</header>
<nav class="tabs" role="tablist">
  <button type="button" role="tab" data-tab="overview" aria-selected="true">Overview</button>
  <button type="button" role="tab" data-tab="inbox" aria-selected="false">Inbox</button>
  <button type="button" role="tab" data-tab="insights" aria-selected="false">Insights</button>
</nav>
<section id="overview" class="active">
  <div class="stats">
    <div class="stat"><b>24</b><span>Updates</span></div>
    <div class="stat"><b>8</b><span>Focused</span></div>
    <div class="stat"><b>12</b><span>Hours saved</span></div>
  </div>
  <div class="flow">
    <div class="node">Teammate</div><div class="track"><div class="pulse"></div></div>
    <div class="node">Inbox</div><div class="track"><div class="pulse"></div></div>
    <div class="node">Agent</div>
  </div>
  <p class="caption">Share context → find it in your inbox → put it to work.</p>
</section>
<section id="inbox">
  <ul>
    <li><div>Launch checklist updated<br><small>2 min ago</small></div><span class="state">Focused</span></li>
    <li><div>Onboarding copy, second pass<br><small>1 h ago</small></div><span class="state">New</span></li>
    <li><div>Partner feedback summary<br><small>Yesterday</small></div><span class="state">Reviewed</span></li>
  </ul>
</section>
<section id="insights">
  <div class="stat"><b>67</b><span>Context reused this week</span></div>
  <div class="bars">
    <div class="bar" style="height:45%"></div><div class="bar" style="height:70%"></div>
    <div class="bar" style="height:55%"></div><div class="bar" style="height:90%"></div>
    <div class="bar" style="height:62%"></div>
  </div>
  <div class="days"><span>Mon</span><span>Tue</span><span>Wed</span><span>Thu</span><span>Fri</span></div>
</section>
<footer>Demo workspace · fictional data</footer>
<script>
  const button = document.getElementById('motion');
  const reduced = window.matchMedia('(prefers-reduced-motion: reduce)');
  let userPaused = false;
  function update() {
    const paused = userPaused || document.hidden || reduced.matches;
    document.body.classList.toggle('paused', paused);
    if (reduced.matches) {
      button.textContent = 'Reduced motion';
      button.disabled = true;
    } else {
      button.disabled = false;
      button.textContent = userPaused ? 'Resume motion' : 'Pause motion';
    }
  }
  button.addEventListener('click', () => { userPaused = !userPaused; update(); });
  document.addEventListener('visibilitychange', update);
  reduced.addEventListener('change', update);
  document.querySelectorAll('[role=tab]').forEach(tab => tab.addEventListener('click', () => {
    document.querySelectorAll('[role=tab]').forEach(t => t.setAttribute('aria-selected', String(t === tab)));
    document.querySelectorAll('section').forEach(s => s.classList.toggle('active', s.id === tab.dataset.tab));
  }));
  update();
</script>
</body>
</html>
)HTML");
}

QString DemoVisualizationPage::fence()
{
    const QByteArray data = html().toUtf8().toBase64();
    const VisualizationFile file{"team-pulse.html", "text/html", data.toStdString()};
    return QStringLiteral("\n\n```tandrel-files-v1\n") + QString::fromStdString(VisualizationFile::encodeArray({file})) +
           QStringLiteral("\n```");
}
