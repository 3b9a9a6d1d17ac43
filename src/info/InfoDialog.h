#pragma once

#include "platform/Colours.h"

#include <QDialog>

class QLabel;

// A help window: fixed border, a close box and no minimise or maximise box, its client
// area given in twips. Unless escapeCloses, it has neither a cancel nor a default button:
// Esc does nothing, and Enter presses only the button that has the focus.
class InfoDialog : public QDialog
{
    Q_OBJECT

public:
    InfoDialog(const QString &name, const QString &caption, int clientWidthTwips, int clientHeightTwips,
               bool escapeCloses);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_escapeCloses;
};

// A label drawn with the sunken single border of an entry field.
void SetSingleBorder(QLabel *label);
