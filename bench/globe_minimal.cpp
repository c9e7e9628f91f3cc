// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the globe's cost: the smallest program that shows
// Marble's own widget with the theme and window size the editor's globe
// uses. tools/mesurer_globe.sh runs it beside the editor.
#include <QApplication>
#include <marble/MarbleWidget.h>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Marble::MarbleWidget carte;
    carte.setWindowTitle(QStringLiteral("Globe minimal"));
    carte.setProjection(Marble::Spherical);
    carte.setMapThemeId(QStringLiteral("earth/srtm/srtm.dgml"));
    carte.resize(800, 600);
    carte.show();
    return application.exec();
}
