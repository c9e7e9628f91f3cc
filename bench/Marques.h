// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// A GPX file of marks as other programs write them, for the benchmarks.
// n marks as another program writes them: about 500 bytes each.
inline QByteArray Marques(int n)
{
    QByteArray g = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" "
                   "creator=\"bench\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                   "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\">\n";
    for (int i = 1; i <= n; ++i) {
        const QByteArray k = QByteArray::number(i);
        g += "  <wpt lat=\"" + QByteArray::number(47 + i / 100000.0, 'f', 6) + "\" lon=\"" +
             QByteArray::number(-4 - i / 100000.0, 'f', 6) + "\">\n    <ele>12.5</ele>\n" +
             "    <time>2024-05-01T10:00:00Z</time>\n    <name>Marque " + k +
             "</name>\n    <desc>Mouillage abrit\xC3\xA9 par vent d'ouest, fond de sable " + k +
             "</desc>\n    <link href=\"https://example.org/m/" + k +
             "\"><text>Fiche</text></link>\n    <link href=\"file:///home/m/" + k +
             ".pdf\"><text>Plan</text></link>\n    <sym>Anchor</sym>\n    <extensions>\n" +
             "      <gpxx:WaypointExtension><gpxx:DisplayMode>SymbolAndName</gpxx:DisplayMode>"
             "</gpxx:WaypointExtension>\n    </extensions>\n  </wpt>\n";
    }
    return g + "</gpx>\n";
}

// n marks with the chart plotter's GUIDs, then routes of the given number
// of points through them (route r starting at mark r), as it writes them.
inline QByteArray MarquesEtRoutes(int n, int routes, int points)
{
    auto guid = [](int i) {
        return "6f1c2a10-0000-4000-8000-" + QByteArray::number(i).rightJustified(12, '0');
    };
    auto position = [](int i) {
        return "lat=\"" + QByteArray::number(47 + (i % 1000) / 1000.0, 'f', 6) + "\" lon=\"" +
               QByteArray::number(-5 + (i / 1000) / 20.0, 'f', 6) + "\"";
    };
    QByteArray g = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
                   "xmlns=\"http://www.topografix.com/GPX/1/1\" "
                   "xmlns:opencpn=\"http://www.opencpn.org\">\n";
    for (int i = 1; i <= n; ++i)
        g += "  <wpt " + position(i) + ">\n    <name>Marque " + QByteArray::number(i) +
             "</name>\n    <sym>buoy1</sym>\n    <extensions>\n      <opencpn:guid>" + guid(i) +
             "</opencpn:guid>\n    </extensions>\n  </wpt>\n";
    for (int r = 1; r <= routes; ++r) {
        g += "  <rte>\n    <name>Route " + QByteArray::number(r) + "</name>\n";
        for (int k = 0; k < points; ++k) {
            const int i = (r + k * 7) % n + 1;
            g += "    <rtept " + position(i) + ">\n      <name>Marque " + QByteArray::number(i) +
                 "</name>\n      <sym>buoy1</sym>\n      <extensions>\n        <opencpn:guid>" +
                 guid(i) + "</opencpn:guid>\n      </extensions>\n    </rtept>\n";
        }
        g += "  </rte>\n";
    }
    return g + "</gpx>\n";
}
