#include "workbench/datapath/datapath_view.h"

#include "texts/number_text.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <optional>

namespace {

const QColor ErrorColour(200, 0, 0);

// A block's or path's use in the lighting, if it lit.
template <typename Lit, typename Key>
std::optional<Lit> LitIn(std::span<const Lit> lit, Key key, Key Lit::*field)
{
    for (const Lit& item : lit) {
        if (item.*field == key) {
            return item;
        }
    }
    return std::nullopt;
}

} // namespace

TDatapathView::TDatapathView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TDatapathView::ShowLighting(const DatapathLighting& lighting)
{
    lighting_ = lighting;
    update();
}

void TDatapathView::SetRadix(int radix)
{
    radix_ = radix;
    update();
}

void TDatapathView::SetColours(const QColor& write, const QColor& read)
{
    write_ = write;
    read_ = read;
    update();
}

// It asks for no room: below the memory page it takes what the window leaves
// there; in a window of its own, what that window is given.
QSize TDatapathView::sizeHint() const
{
    return {0, 0};
}

QSize TDatapathView::minimumSizeHint() const
{
    return {0, 0};
}

void TDatapathView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

QString TDatapathView::ValueText(int value, bool digit) const
{
    if (value < 0) {
        return {};
    }
    return digit ? QString::number(value, 16).toUpper()
                 : QString::fromLatin1(FormatNumber(value, radix_));
}

void TDatapathView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = qMin(width() / qreal(DatapathColumns), height() / qreal(DatapathRows));
    if (unit <= 0) {
        return;
    }
    painter.translate((width() - unit * DatapathColumns) / 2, (height() - unit * DatapathRows) / 2);
    auto at = [unit](GridPoint point) { return QPointF(point.x * unit, point.y * unit); };
    auto rectOf = [unit](GridRect rect) {
        return QRectF(rect.x * unit, rect.y * unit, rect.width * unit, rect.height * unit);
    };
    QFont font = painter.font();
    font.setPixelSize(qMax(6, qRound(unit * 2.2)));
    painter.setFont(font);
    const QColor idle = palette().color(QPalette::Mid);
    const QColor text = palette().color(QPalette::WindowText);

    // Paths first, the lit ones over the others.
    for (const bool lit : {false, true}) {
        for (const DatapathPathShape& shape : DatapathPaths()) {
            const auto use = LitIn(lighting_.Paths(), shape.path, &LitPath::path);
            if (use.has_value() != lit) {
                continue;
            }
            QPainterPath line;
            line.moveTo(at(shape.points[0]));
            for (const GridPoint point : shape.Points().subspan(1)) {
                line.lineTo(at(point));
            }
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(lit ? (use->written ? write_ : read_) : idle,
                                lit ? qMax(2.0, unit * 0.6) : 1.0));
            painter.drawPath(line);
            const QString value = lit ? ValueText(use->value, use->digit) : QString();
            if (!value.isEmpty()) {
                const QPointF middle = line.pointAtPercent(0.5);
                QRectF box(0, 0, painter.fontMetrics().horizontalAdvance(value) + unit,
                           painter.fontMetrics().height());
                box.moveCenter(middle);
                painter.setPen(use->written ? write_ : read_);
                painter.setBrush(palette().color(QPalette::Base));
                painter.drawRoundedRect(box, unit / 2, unit / 2);
                painter.drawText(box, Qt::AlignCenter, value);
            }
        }
    }

    // Blocks, an inner one over the one that holds it.
    for (const DatapathBlockShape& shape : DatapathBlocks()) {
        const auto use = LitIn(lighting_.Blocks(), shape.block, &LitBlock::block);
        const QRectF rect = rectOf(shape.rect);
        QColor edge = idle;
        QColor fill = palette().color(QPalette::Base);
        if (use) {
            edge = use->failed ? ErrorColour : use->written ? write_ : read_;
            fill = edge;
            fill.setAlpha(40);
        }
        painter.setPen(QPen(edge, use ? qMax(1.5, unit * 0.4) : 1.0));
        painter.setBrush(fill);
        painter.drawRoundedRect(rect, unit * 0.8, unit * 0.8);
        QString label = QString::fromUtf8(shape.label.data(), qsizetype(shape.label.size()));
        if (use) {
            if (const QString value = ValueText(use->value, use->digit); !value.isEmpty()) {
                label += QStringLiteral(" ") + value;
            }
        }
        painter.setPen(use ? edge : text);
        const bool holdsOthers = shape.rect.height > 8;
        painter.drawText(rect.adjusted(unit, unit * 0.3, -unit, -unit * 0.3),
                         (holdsOthers ? Qt::AlignTop : Qt::AlignVCenter) | Qt::AlignHCenter, label);
    }
}
