#include "tools/books/BookLayout.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace lumipage::books {

namespace {

constexpr double kLeft = 180;
constexpr double kTextWidth = BookLayout::kWidth - 2 * kLeft;
constexpr double kTop = 260;
constexpr double kBottom = BookLayout::kHeight - 240;
constexpr double kItemIndent = 50;
constexpr double kKeyColumn = 420;  // width of a row's first column, gap included

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string u(const QString& s) { return s.toStdString(); }

QFont makeFont(int pixels, bool bold) {
    QFont f(BookLayout::kFamily);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

}  // namespace

bool BookLayout::fontAvailable(std::string& error) {
    const QStringList families = QFontDatabase::families();
    if (families.contains(kFamily) && QFontInfo(QFont(kFamily)).family() == kFamily) return true;
    error = std::string("the font \"") + kFamily + "\" is not installed; install the Debian package " +
            kFontPackage + " (apt-get install " + kFontPackage + ")";
    return false;
}

BookLayout::BookLayout(const BookSource& source) : source_(source) {
    fonts_[Body] = makeFont(29, false);
    fonts_[Chapter] = makeFont(58, true);
    fonts_[Section] = makeFont(38, true);
    fonts_[Head] = makeFont(24, false);
    fonts_[Cover] = makeFont(96, true);
    fonts_[CoverSub] = makeFont(44, false);
}

double BookLayout::lineHeight(int font) const {
    return font == Body || font == Head ? fonts_[font].pixelSize() * 1.65 : fonts_[font].pixelSize() * 1.45;
}

std::vector<QString> BookLayout::wrap(const QString& text, int font, double width) const {
    std::vector<QString> lines;
    QTextLayout layout(text, fonts_[font]);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width);
        lines.push_back(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    if (lines.empty()) lines.emplace_back();
    return lines;
}

void BookLayout::newPage() {
    body_.push_back(PagePlan{chapter_, {}, {}, {}});
    y_ = kTop;
}

void BookLayout::ensureRoom(double height) {
    if (body_.empty() || y_ + height > kBottom) newPage();
}

void BookLayout::placeLines(const std::vector<QString>& lines, int font, double x) {
    for (const QString& line : lines) {
        ensureRoom(lineHeight(font));
        body_.back().lines.push_back(Line{line, font, x, y_});
        y_ += lineHeight(font);
    }
}

void BookLayout::placeRow(const Block& block) {
    const auto keys = wrap(q(block.text), Body, kKeyColumn - 30);
    const auto texts = wrap(q(block.text2), Body, kTextWidth - kKeyColumn);
    const size_t rows = std::max(keys.size(), texts.size());
    ensureRoom(double(rows) * lineHeight(Body));
    for (const auto& k : block.keywords) body_.back().keywords.push_back(k);
    double y = y_;
    for (const QString& k : keys) {
        body_.back().lines.push_back(Line{k, Body, kLeft + 20, y});
        y += lineHeight(Body);
    }
    y = y_;
    for (const QString& t : texts) {
        body_.back().lines.push_back(Line{t, Body, kLeft + kKeyColumn, y});
        y += lineHeight(Body);
    }
    y_ += double(rows) * lineHeight(Body) + 6;
}

void BookLayout::place(const Block& block) {
    const double gap = lineHeight(Body) * 0.45;
    // A list or table ends with a little room before what follows it.
    const bool afterList = lastKind_ == Block::Kind::Row || lastKind_ == Block::Kind::Item;
    if (afterList && block.kind != lastKind_ && y_ > kTop) y_ += gap;
    lastKind_ = block.kind;
    switch (block.kind) {
    case Block::Kind::PageBreak:
        newPage();
        return;
    case Block::Kind::Row:
        placeRow(block);
        return;
    case Block::Kind::Chapter: {
        chapter_ = block.text;
        if (body_.empty() || !body_.back().lines.empty()) newPage();
        body_.back().chapter = chapter_;
        break;
    }
    case Block::Kind::Section:
        if (y_ > kTop) y_ += gap;
        ensureRoom(lineHeight(Section) + 3 * lineHeight(Body));
        break;
    default:
        break;
    }
    const int font = block.kind == Block::Kind::Chapter ? Chapter : block.kind == Block::Kind::Section ? Section : Body;
    const double x = block.kind == Block::Kind::Item ? kLeft + kItemIndent : kLeft;
    const auto lines = wrap(q(block.text), font, kTextWidth - (x - kLeft));
    ensureRoom(lineHeight(font));
    PagePlan& first = body_.back();
    for (const auto& k : block.keywords) first.keywords.push_back(k);
    if (block.kind == Block::Kind::Chapter || block.kind == Block::Kind::Section) {
        first.contents.push_back(block.text);
        headings_.push_back(Heading{block.text, block.kind == Block::Kind::Chapter, int(body_.size()) - 1});
    }
    if (block.kind == Block::Kind::Item) first.lines.push_back(Line{QStringLiteral("・"), Body, kLeft + 6, y_});
    placeLines(lines, font, x);
    if (block.kind == Block::Kind::Chapter) y_ += gap * 2;
    else if (block.kind == Block::Kind::Section) y_ += gap * 0.5;
    else if (block.kind == Block::Kind::Paragraph) y_ += gap;
}

std::vector<BookLayout::PagePlan> BookLayout::contentsPages(int firstBodyPage) const {
    std::vector<PagePlan> pages;
    double y = kBottom;
    const double numberRight = kLeft + kTextWidth;
    for (const Heading& h : headings_) {
        const double lh = lineHeight(Body) * (h.chapter ? 1.25 : 1.0);
        if (y + lh > kBottom) {
            pages.push_back(PagePlan{"目次", {}, {}, {}});
            y = kTop;
            if (pages.size() == 1) {
                pages.back().lines.push_back(Line{QStringLiteral("目次"), Chapter, kLeft, y});
                pages.back().contents.push_back("目次");
                y += lineHeight(Chapter) + lineHeight(Body);
            }
        }
        const QString number = QString::number(firstBodyPage + h.bodyPage);
        const double numberWidth = QFontMetricsF(fonts_[Body]).horizontalAdvance(number);
        const double x = h.chapter ? kLeft : kLeft + 60;
        pages.back().lines.push_back(Line{q(h.text), Body, x, y});
        pages.back().lines.push_back(Line{number, Body, numberRight - numberWidth, y});
        y += lh;
    }
    return pages;
}

BookPage BookLayout::render(const PagePlan& plan, int number, bool cover) const {
    BookPage page;
    page.image = QImage(kWidth, kHeight, QImage::Format_Grayscale8);
    page.image.setDotsPerMeterX(int(kDpi / 0.0254 + 0.5));
    page.image.setDotsPerMeterY(int(kDpi / 0.0254 + 0.5));
    page.image.fill(Qt::white);
    page.chapter = plan.chapter;
    page.contents = plan.contents;
    page.keywords = plan.keywords;

    QPainter p(&page.image);
    p.setPen(Qt::black);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Line& l : plan.lines) {
        p.setFont(fonts_[l.font]);
        p.drawText(QPointF(l.x, l.y + QFontMetricsF(fonts_[l.font]).ascent()), l.text);
        if (l.font == Chapter && !cover)
            p.fillRect(QRectF(kLeft, l.y + lineHeight(Chapter), kTextWidth, 4), Qt::black);
        page.text += u(l.text);
        page.text += '\n';
    }
    if (cover) {
        p.fillRect(QRectF(110, 110, kWidth - 220, 8), Qt::black);
        p.fillRect(QRectF(110, kHeight - 118, kWidth - 220, 8), Qt::black);
        return page;
    }
    const QFontMetricsF head(fonts_[Head]);
    p.setFont(fonts_[Head]);
    p.drawText(QPointF(kLeft, 130 + head.ascent()), q(source_.title));
    const QString chapter = q(plan.chapter);
    p.drawText(QPointF(kLeft + kTextWidth - head.horizontalAdvance(chapter), 130 + head.ascent()), chapter);
    p.fillRect(QRectF(kLeft, 130 + head.height() + 10, kTextWidth, 2), Qt::black);
    const QString folio = QStringLiteral("- %1 -").arg(number);
    p.drawText(QPointF((kWidth - head.horizontalAdvance(folio)) / 2, kHeight - 150 + head.ascent()), folio);
    return page;
}

std::vector<BookPage> BookLayout::layOut() {
    body_.clear();
    headings_.clear();
    lastKind_ = Block::Kind::PageBreak;
    chapter_.clear();
    for (const Block& b : source_.blocks) place(b);

    // The cover: the title and subtitle in the upper third.
    PagePlan cover;
    double y = 640;
    for (const QString& l : wrap(q(source_.title), Cover, kTextWidth)) {
        const double w = QFontMetricsF(fonts_[Cover]).horizontalAdvance(l);
        cover.lines.push_back(Line{l, Cover, (kWidth - w) / 2, y});
        y += lineHeight(Cover);
    }
    y += 60;
    for (const QString& l : wrap(q(source_.subtitle), CoverSub, kTextWidth)) {
        const double w = QFontMetricsF(fonts_[CoverSub]).horizontalAdvance(l);
        cover.lines.push_back(Line{l, CoverSub, (kWidth - w) / 2, y});
        y += lineHeight(CoverSub);
    }

    // The printed contents come before the chapters, so their length is
    // known first; then every heading's page number is.
    int contentsCount = int(contentsPages(0).size());
    const auto contents = contentsPages(2 + contentsCount);

    std::vector<BookPage> pages;
    pages.push_back(render(cover, 1, true));
    for (const PagePlan& plan : contents) pages.push_back(render(plan, int(pages.size()) + 1, false));
    for (const PagePlan& plan : body_) pages.push_back(render(plan, int(pages.size()) + 1, false));
    return pages;
}

}  // namespace lumipage::books
