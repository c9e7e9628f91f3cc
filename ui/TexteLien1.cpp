// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TexteLien1.h"

#include "shell/Twips.h"
#include "ui/Images.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

TexteLien1::TexteLien1(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TexteLien1"));
    setWindowTitle(QStringLiteral("Saisie du texte de description"));
    setWindowIcon(Images::IconeFenetre());
    setFont(Images::PoliceFenetres());
    setFixedSize(Twips::VersPixels(8220), Twips::VersPixels(3210));

    Text1 = new QPlainTextEdit(this);
    Twips::Placer(Text1, "Text1", 0, 360, 8175, 2775, 0);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Enregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
    Twips::Placer(Enregistrer, "Enregistrer", 0, 0, 4095, 375, 1);
    Fermer = new QPushButton(QStringLiteral("Fermer"), this);
    Twips::Placer(Fermer, "Fermer", 4080, 0, 4095, 375, 2);
    QWidget::setTabOrder(Text1, Enregistrer);
    QWidget::setTabOrder(Enregistrer, Fermer);

    connect(Enregistrer, &QPushButton::clicked, this, &TexteLien1::Enregistrer_Click);
    connect(Fermer, &QPushButton::clicked, this, &TexteLien1::Fermer_Click);
}

QObject* TexteLien1::Controle(const QString& nom) const
{
    return nom.isEmpty() ? nullptr : findChild<QWidget*>(nom);
}

void TexteLien1::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_QueryUnload(cancel, fermetureParProgramme ? 1 : 0);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void TexteLien1::Form_QueryUnload(bool& cancel, int unloadmode)
{
    // Fermer is the only way for the user to put the window away.
    if (unloadmode == 0)
        cancel = true;
}

void TexteLien1::FermerParProgramme()
{
    fermetureParProgramme = true;
    close();
    fermetureParProgramme = false;
}
