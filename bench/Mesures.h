// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <vector>

// What the editor's benchmarks measure with.

inline double Mediane(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One run of the companion tool beside the benchmark, in ms; its output
// thrown away.
inline double Outil(const QStringList& arguments)
{
    QProcess outil;
    outil.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    outil.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quaylight-gpx"),
                arguments);
    outil.waitForFinished(60000);
    return t.nsecsElapsed() / 1e6;
}
