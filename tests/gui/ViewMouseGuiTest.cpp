// The page widget under the mouse: clicks zoom at the pointer, the pointer
// shapes are drawn, each one its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>

#include "gui/CMainFrame.h"
#include "gui/PageWidget.h"
#include "gui/ViewCursors.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "view/CLP98View.h"
#include "view/CursorIds.h"

namespace lumipage {
namespace {

struct MouseFrame : test::DocumentFixture, ::testing::Test {
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        table.append(writeFax("one.FAX", test::makePage(test::Pattern::Text, 1728, 2290, 2)));
        table.append(writeFax("two.FAX", test::makePage(test::Pattern::Text, 1728, 2290, 3)));
        doc.goToPage(1);
        frame = std::make_unique<CMainFrame>(settings, startup, table, doc);
        frame->resize(800, 600);
        frame->show();
        QApplication::processEvents();
        frame->showCurrentPage();
    }

    // The page pixel under a point of the client area.
    ViewPoint pagePointAt(QPoint client) {
        const ViewPoint b = frame->view().bitmapPoint({client.x(), client.y()});
        const int d = zoom::divisor(frame->view().level());
        return {b.x * d / 10, b.y * d / 10};
    }
};

TEST_F(MouseFrame, ClickZoomsInAtThePointAndRightClickZoomsOut) {
    PageWidget* page = frame->pageWidget();
    QWidget* client = page->viewport();
    const int level = frame->view().level();
    ASSERT_LT(level, 11);
    const QPoint at(client->width() / 2, client->height() / 3);
    QTest::mouseMove(client, at);
    QApplication::processEvents();
    const ViewPoint paper = pagePointAt(at);

    QTest::mouseClick(client, Qt::LeftButton, {}, at);
    EXPECT_EQ(page->cursorId(), cursor_id::kZoom);
    EXPECT_EQ(client->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(frame->view().level(), level + 1);
    const ViewPoint after = pagePointAt(at);
    EXPECT_NEAR(after.x, paper.x, zoom::divisor(level) / 10);
    EXPECT_NEAR(after.y, paper.y, zoom::divisor(level) / 10);
    EXPECT_EQ(frame->menuAction(32776)->isChecked(), false) << "clicks leave the fit modes";

    QTest::mouseClick(client, Qt::RightButton, {}, at);
    EXPECT_EQ(frame->view().level(), level);
    QTest::mouseClick(client, Qt::RightButton, Qt::ShiftModifier, at);
    EXPECT_EQ(frame->view().level(), level - 2);
}

TEST(ViewCursors, EveryShapeIdHasItsOwnPicture) {
    std::vector<QImage> pictures;
    for (const int id : cursor_id::kAll) {
        const QPixmap pixmap = ViewCursors::pixmap(id);
        ASSERT_FALSE(pixmap.isNull()) << id;
        pictures.push_back(pixmap.toImage().convertToFormat(QImage::Format_ARGB32));
    }
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << cursor_id::kAll[i] << " and " << cursor_id::kAll[j];
    ViewCursors cursors;
    EXPECT_EQ(cursors.cursor(cursor_id::kArrow).shape(), Qt::ArrowCursor);
    EXPECT_EQ(cursors.cursor(cursor_id::kUnset).shape(), Qt::ArrowCursor);
    EXPECT_EQ(cursors.cursor(cursor_id::kCatchDrag).shape(), Qt::BitmapCursor);
    EXPECT_TRUE(ViewCursors::pixmap(999).isNull());

    // The shapes side by side, to look at.
    if (const QByteArray dir = qgetenv("LUMIPAGE_SCREENSHOTS"); !dir.isEmpty()) {
        const int side = ViewCursors::kSide * 2, n = int(pictures.size());
        QImage sheet(side * n, side * 2, QImage::Format_ARGB32);
        sheet.fill(Qt::lightGray);
        QPainter painter(&sheet);
        painter.fillRect(0, side, side * n, side, Qt::black);
        for (int i = 0; i < n; ++i) {
            painter.drawImage(QRect(i * side, 0, side, side), pictures[size_t(i)]);
            painter.drawImage(QRect(i * side, side, side, side), pictures[size_t(i)]);
        }
        painter.end();
        sheet.save(QString::fromUtf8(dir) + "/cursors.png");
    }
}

}  // namespace
}  // namespace lumipage
