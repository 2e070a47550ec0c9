#pragma once
#include <QString>
#include <QTextDocument>

// Names, file and folder names are the player's text: shown as they are,
// never as markup. Labels that show them take Qt::PlainText; a tool tip has
// no such switch, so text that Qt would take for markup goes in escaped.
inline QString PlainToolTip(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
}
