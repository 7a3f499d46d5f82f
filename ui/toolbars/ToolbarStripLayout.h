#pragma once

#include <QLayout>

#include <vector>

namespace NSQuillet {

// Lays toolbars out in rows as wide as the strip: they keep their order and a toolbar that no
// longer fits beside the ones before it starts the next row (ArrangeToolbarRows). The toolbars
// of a row share its height. The strip is as high as its rows need for its width and never
// narrower than its widest toolbar. User-interface thread.
class CToolbarStripLayout final : public QLayout {
public:
    explicit CToolbarStripLayout(QWidget* parent);
    ~CToolbarStripLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(fItems.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

    // Each item's row for a strip `width` wide, margins included.
    std::vector<int32_t> RowsFor(int width) const;

private:
    int Arrange(const QRect& rect, bool place) const;

    std::vector<QLayoutItem*> fItems;
};

}  // namespace NSQuillet
