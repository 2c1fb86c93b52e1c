#!/usr/bin/env python3
"""Writes a large list file (cp932, CR LF) for timing dolvane-cli and the window: open, overdue,
waiting and completed to-dos with categories, executors and two-line tasks, dated around a fixed
moment so that runs compare, or around the present minute with --now (for the window, whose
calendar opens on today).

usage: make_bench_list.py OUTPUT [--rows N] [--seed S] [--now]"""
import argparse, datetime as dt, random

p = argparse.ArgumentParser()
p.add_argument('output'); p.add_argument('--rows', type=int, default=100000); p.add_argument('--seed', type=int, default=1)
p.add_argument('--now', action='store_true')
a = p.parse_args()
rng = random.Random(a.seed)
base = dt.datetime.now().replace(second=0, microsecond=0) if a.now else dt.datetime(2010, 5, 10, 12, 0)
fmt = lambda t: t.strftime('%Y/%m/%d %H:%M')
tasks = ['企画書を書く', '見積もりを作成する', '会議の資料を準備', '経費精算', 'サーバーの更新', 'お客様へ連絡',
         'ﾚﾎﾟｰﾄの提出', 'りんごを買う', '報告書を書く\r\n部長に提出する', '引っ越しの手続き\r\n住所変更\r\n銀行にも連絡']
people = ['', '総務', '営業', '山田', '自分']
cats = ['', '仕事', '仕事', '家庭', '買い物']
lines = []
for i in range(a.rows):
    start = base - dt.timedelta(days=rng.randint(-5, 400), minutes=rng.randint(0, 1440))
    deadline = start + dt.timedelta(days=rng.randint(1, 30)) if rng.random() < 0.8 else None
    done = rng.random() < 0.4
    completed = fmt(start + dt.timedelta(days=rng.randint(0, 10))) if done else ''
    name = fmt(start) + ('&' + fmt(deadline) if deadline else '') + ('|' + completed if completed else '')
    name += '+' + rng.choice(['', '24', '48', '168'])
    value = ('1' if done else '0') + str(rng.randint(0, 5)) + '%03d' % (100 if done else rng.choice([0, 10, 50, 80]))
    value += rng.choice(people) + '@\\@' + rng.choice(cats) + '#@#' + rng.choice(tasks).replace('\r\n', '･･')
    lines.append(name + '=' + value)
with open(a.output, 'wb') as f:
    f.write(''.join(l + '\r\n' for l in lines).encode('cp932'))
