#include "ui/toolbars/ToolbarStripLayout.h"

#include <QWidget>

#include <algorithm>

#include "ui/logic/toolbars/ToolbarRows.h"

namespace NSQuillet {

CToolbarStripLayout::CToolbarStripLayout(QWidget* parent) : QLayout(parent) {}

CToolbarStripLayout::~CToolbarStripLayout() {
    for (QLayoutItem* item : fItems) delete item;
}

void CToolbarStripLayout::addItem(QLayoutItem* item) { fItems.push_back(item); }

QLayoutItem* CToolbarStripLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? fItems[size_t(index)] : nullptr;
}

QLayoutItem* CToolbarStripLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = fItems[size_t(index)];
    fItems.erase(fItems.begin() + index);
    return item;
}

std::vector<int32_t> CToolbarStripLayout::RowsFor(int width) const {
    const QMargins margins = contentsMargins();
    std::vector<int32_t> widths;
    widths.reserve(fItems.size());
    for (const QLayoutItem* item : fItems) widths.push_back(item->sizeHint().width());
    return ArrangeToolbarRows(widths, width - margins.left() - margins.right(), spacing());
}

int CToolbarStripLayout::Arrange(const QRect& rect, bool place) const {
    const QMargins margins = contentsMargins();
    const std::vector<int32_t> rows = RowsFor(rect.width());
    int y = rect.y() + margins.top();
    size_t first = 0;
    while (first < fItems.size()) {
        size_t end = first;
        int height = 0;
        while (end < fItems.size() && rows[end] == rows[first])
            height = std::max(height, fItems[end++]->sizeHint().height());
        int x = rect.x() + margins.left();
        for (size_t i = first; i < end; ++i) {
            const int width = fItems[i]->sizeHint().width();
            if (place) fItems[i]->setGeometry(QRect(x, y, width, height));
            x += width + spacing();
        }
        y += height + (end < fItems.size() ? spacing() : 0);
        first = end;
    }
    return y + margins.bottom() - rect.y();
}

int CToolbarStripLayout::heightForWidth(int width) const { return Arrange(QRect(0, 0, width, 0), false); }

QSize CToolbarStripLayout::sizeHint() const {
    const QMargins margins = contentsMargins();
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : fItems) {
        width += item->sizeHint().width() + (width > 0 ? spacing() : 0);
        height = std::max(height, item->sizeHint().height());
    }
    return QSize(width + margins.left() + margins.right(), height + margins.top() + margins.bottom());
}

QSize CToolbarStripLayout::minimumSize() const {
    const QMargins margins = contentsMargins();
    int width = 0;
    for (const QLayoutItem* item : fItems) width = std::max(width, item->sizeHint().width());
    width += margins.left() + margins.right();
    return QSize(width, heightForWidth(width));
}

void CToolbarStripLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

}  // namespace NSQuillet
