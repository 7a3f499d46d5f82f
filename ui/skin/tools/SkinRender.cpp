// Renders the skin's vector sources to PNG at build time:
//   quillet-skin-render --pictures OUTDIR SVG...          <stem>.png at the drawn size, <stem>@2x.png
//   quillet-skin-render --icons OUTDIR CATEGORY SVG...    OUTDIR/<n>x<n>/CATEGORY/<stem>.png
//   quillet-skin-render --sheet OUTPNG SVG...             every picture on a dark and a light ground
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool Fail(const QString& message) {
    std::fprintf(stderr, "quillet-skin-render: %s\n", qPrintable(message));
    return false;
}

bool Render(QSvgRenderer& renderer, QSize size, const QString& path) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(path, "PNG")) return Fail("cannot write " + path);
    return true;
}

bool Open(QSvgRenderer& renderer, const QString& svg) {
    if (!renderer.load(svg) || !renderer.isValid() || renderer.defaultSize().isEmpty())
        return Fail("cannot read " + svg);
    return true;
}

bool RenderPictures(const QString& outDir, const QStringList& svgs) {
    if (!QDir().mkpath(outDir)) return Fail("cannot create " + outDir);
    for (const QString& svg : svgs) {
        QSvgRenderer renderer;
        if (!Open(renderer, svg)) return false;
        const QString stem = QDir(outDir).filePath(QFileInfo(svg).completeBaseName());
        const QSize size = renderer.defaultSize();
        if (!Render(renderer, size, stem + ".png") || !Render(renderer, size * 2, stem + "@2x.png")) return false;
    }
    return true;
}

bool RenderIcons(const QString& outDir, const QString& category, const QStringList& svgs) {
    for (const QString& svg : svgs) {
        QSvgRenderer renderer;
        if (!Open(renderer, svg)) return false;
        for (int size : kIconSizes) {
            const QString dir = QStringLiteral("%1/%2x%2/%3").arg(outDir).arg(size).arg(category);
            if (!QDir().mkpath(dir)) return Fail("cannot create " + dir);
            if (!Render(renderer, QSize(size, size), dir + "/" + QFileInfo(svg).completeBaseName() + ".png"))
                return false;
        }
    }
    return true;
}

// Filmstrips (32 or more square frames stacked) show five of their frames side by side.
QList<QImage> SheetImages(QSvgRenderer& renderer) {
    const QSize size = renderer.defaultSize();
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const int frames = size.height() % size.width() == 0 ? size.height() / size.width() : 1;
    if (frames < 32) return {image};
    QList<QImage> shown;
    for (int frame : {0, frames / 4, frames / 2, 3 * frames / 4, frames - 1})
        shown.append(image.copy(0, frame * size.width() * 2, size.width() * 2, size.width() * 2));
    return shown;
}

bool RenderSheet(const QString& outPng, const QStringList& svgs) {
    constexpr int kColumns = 6;
    constexpr int kCell = 190;
    constexpr int kRow = 130;
    const int rows = (static_cast<int>(svgs.size()) + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCell, rows * kRow, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor("#808080"));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    for (int i = 0; i < svgs.size(); ++i) {
        QSvgRenderer renderer;
        if (!Open(renderer, svgs[i])) return false;
        const QRect cell((i % kColumns) * kCell, (i / kColumns) * kRow, kCell, kRow);
        painter.fillRect(cell.x(), cell.y(), kCell / 2, kRow, QColor("#23272e"));
        painter.fillRect(cell.x() + kCell / 2, cell.y(), kCell / 2, kRow, QColor("#f3f4f6"));
        painter.setPen(QColor("#ff3df5"));
        painter.drawText(cell.adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, QFileInfo(svgs[i]).completeBaseName());
        const QList<QImage> images = SheetImages(renderer);
        for (int half = 0; half < 2; ++half) {
            const QRect area(cell.x() + half * kCell / 2 + 2, cell.y() + 16, kCell / 2 - 4, kRow - 18);
            int x = area.x();
            for (const QImage& image : images) {
                QImage shown = image;
                const QSize room(area.width() / static_cast<int>(images.size()), area.height());
                if (shown.width() > room.width() || shown.height() > room.height())
                    shown = shown.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
                painter.drawImage(x, area.y(), shown);
                x += shown.width() + 1;
            }
        }
    }
    painter.end();
    if (!sheet.save(outPng, "PNG")) return Fail("cannot write " + outPng);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    const QString mode = arguments.value(0);
    bool done = false;
    if (mode == "--pictures" && arguments.size() >= 3) {
        done = RenderPictures(arguments[1], arguments.mid(2));
    } else if (mode == "--icons" && arguments.size() >= 4) {
        done = RenderIcons(arguments[1], arguments[2], arguments.mid(3));
    } else if (mode == "--sheet" && arguments.size() >= 3) {
        done = RenderSheet(arguments[1], arguments.mid(2));
    } else {
        Fail("usage: --pictures OUTDIR SVG... | --icons OUTDIR CATEGORY SVG... | --sheet OUTPNG SVG...");
    }
    return done ? 0 : 1;
}
