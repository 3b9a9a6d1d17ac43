#include "platform/Frame.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace platform {

namespace {

// The lines of a label's text, line breaks of any kind.
QStringList lines(const QLabel *label)
{
    if (!label)
        return {};
    QString text = label->text();
    text.remove(QLatin1Char('\r'));
    return text.split(QLatin1Char('\n'));
}

QRect globalRect(const QWidget *widget, const QRect &local)
{
    return QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

} // namespace

Frame::Frame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
{
}

QRect Frame::captionRect() const
{
    QString caption = title();
    caption.remove(QLatin1Char('&'));
    const QFontMetrics metrics(font());
    return QRect(8, 0, metrics.horizontalAdvance(caption) + 2, metrics.height());
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int top = title().isEmpty() ? 0 : metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -1, -1);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    p.setPen(shadow);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(light);
    p.drawRect(box.adjusted(1, 1, 0, 0));
    if (title().isEmpty())
        return;
    QString caption = title();
    caption.remove(QLatin1Char('&'));
    const QRect textRect = captionRect();
    p.fillRect(textRect, palette().color(backgroundRole()));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
}

void Frame::showTable(const QList<QLabel *> &headers, const QList<QLabel *> &columns)
{
    m_headers.clear();
    m_columns.clear();
    for (QLabel *label : headers)
        m_headers.append(label);
    for (QLabel *label : columns)
        m_columns.append(label);
}

QList<int> Frame::tableLines() const
{
    QList<QStringList> texts;
    qsizetype count = 0;
    for (const QPointer<QLabel> &column : m_columns) {
        texts.append(lines(column));
        count = std::max(count, texts.last().size());
    }
    QList<int> rows;
    for (int line = 0; line < count; ++line) {
        for (const QStringList &text : texts) {
            if (line < text.size() && !text[line].trimmed().isEmpty()) {
                rows.append(line);
                break;
            }
        }
    }
    return rows;
}

int Frame::tableColumnCount() const
{
    return static_cast<int>(m_columns.size());
}

int Frame::tableRowCount() const
{
    return static_cast<int>(tableLines().size());
}

QString Frame::tableHeader(int column) const
{
    if (column < 0 || column >= m_headers.size() || !m_headers[column])
        return {};
    QString text = m_headers[column]->text();
    return text.remove(QLatin1Char('&'));
}

QString Frame::tableCell(int row, int column) const
{
    const QList<int> rows = tableLines();
    if (row < 0 || row >= rows.size() || column < 0 || column >= m_columns.size())
        return {};
    const QStringList text = lines(m_columns[column]);
    return rows[row] < text.size() ? text[rows[row]] : QString();
}

QRect Frame::tableCellRect(int row, int column) const
{
    const QList<int> rows = tableLines();
    if (row < 0 || row >= rows.size() || column < 0 || column >= m_columns.size() || !m_columns[column])
        return {};
    // The column's lines stand from the top of its label, one line spacing apart.
    const QLabel *label = m_columns[column];
    const int spacing = QFontMetrics(label->font()).lineSpacing();
    const QRect contents = label->contentsRect();
    return globalRect(label, QRect(contents.left(), contents.top() + rows[row] * spacing, contents.width(), spacing));
}

QRect Frame::tableHeaderRect(int column) const
{
    if (column < 0 || column >= m_headers.size() || !m_headers[column])
        return {};
    return globalRect(m_headers[column], m_headers[column]->rect());
}

} // namespace platform
