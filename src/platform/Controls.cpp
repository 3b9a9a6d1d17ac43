#include "platform/Controls.h"

#include "platform/AppIcon.h"
#include "platform/Colours.h"
#include "platform/Frame.h"
#include "platform/TextBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QWindow>

namespace platform {

namespace {

// A button that takes the focus when its access key presses it, as a click does: the
// field being left runs its lost-focus handler before the button's own handler.
class CommandButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::Shortcut && (focusPolicy() & Qt::TabFocus)
            && !static_cast<QShortcutEvent *>(event)->isAmbiguous())
            setFocus(Qt::ShortcutFocusReason);
        return QPushButton::event(event);
    }
};

} // namespace

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                        const QFont &font)
{
    return Place(new CommandButton(caption, parent), name, box, font);
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                  const QFont &font)
{
    auto *label = Place(new QLabel(caption, parent), name, box, font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void LabelFields(std::initializer_list<std::pair<QLabel *, QWidget *>> fields)
{
    for (const auto &[label, field] : fields) {
        QString name = label->text();
        name.remove(QLatin1Char('&'));
        while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' ')))
            name.chop(1);
        field->setAccessibleName(name.trimmed());
        label->setBuddy(field);
    }
}

QGroupBox *MakeFrame(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                     const QFont &captionFont)
{
    return Place(new Frame(caption, parent), name, box, captionFont);
}

void ShowTable(QGroupBox *frame, const QList<QLabel *> &headers, const QList<QLabel *> &columns)
{
    if (auto *table = qobject_cast<Frame *>(frame))
        table->showTable(headers, columns);
}

TextBox *MakeTextBox(QWidget *parent, const QString &name, TwipsBox box, const QFont &font,
                     Qt::Alignment alignment)
{
    auto *text = Place(new TextBox(parent), name, box, font);
    text->setAlignment(alignment | Qt::AlignVCenter);
    return text;
}

QRadioButton *MakeOption(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                         const QFont &font)
{
    return Place(new QRadioButton(caption, parent), name, box, font);
}

QString ArrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void MoveForm(QWidget *form, int leftTwips, int topTwips)
{
    const QPoint position(TwipsToPixels(leftTwips), TwipsToPixels(topTwips));
    form->move(position);
    // Before the window is mapped its native counterpart must take the position as one the
    // program set, which window managers honour when they map it; a plain move would not.
    if (QWindow *native = form->windowHandle(); native && !native->isVisible())
        native->setFramePosition(position);
}

void SetupForm(QWidget *form, const QString &caption, int clientWidthTwips, int clientHeightTwips)
{
    form->setWindowTitle(caption);
    form->setWindowIcon(AppIcon());
    form->setFont(DefaultFont());
    form->resize(TwipsToPixels(clientWidthTwips), TwipsToPixels(clientHeightTwips));
}

QWidget *PrepareMainWindow(QMainWindow *form, const QColor &background)
{
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto *client = new QWidget(form);
    client->setObjectName(QStringLiteral("client"));
    form->setCentralWidget(client);
    // The client area carries the window's colours; the menu bar follows the theme.
    SetBackColor(client, background);
    return client;
}

void FinishMainWindow(QMainWindow *form, const QString &caption, int clientWidthTwips,
                      int clientHeightTwips)
{
    SetupForm(form, caption, clientWidthTwips, clientHeightTwips);
    form->resize(form->width(), form->height() + form->menuBar()->sizeHint().height());
}

void ReleaseTextBoxes(QWidget *form)
{
    for (TextBox *box : form->findChildren<TextBox *>())
        box->disconnect(form);
}

} // namespace platform
