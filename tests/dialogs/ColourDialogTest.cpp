// The colour adjustment dialog over a real view: its controls and ids,
// typed numbers, preset and mode buttons, keys, and Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "gui/dialogs/ColourDialog.h"
#include "support/ViewerFixture.h"

namespace lumipage {
namespace {

using Control = ColourAdjustment::Control;
using Side = ColourAdjustment::Side;

template <typename W>
W* child(QWidget& dialog, int id) {
    W* w = dialog.findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
}

CDIB::RgbQuad quad(int r, int g, int b) { return CDIB::RgbQuad{uint8_t(b), uint8_t(g), uint8_t(r), 0}; }

struct ColourDialogs : test::ViewerFixture, ::testing::Test {
    std::vector<int> viewKeys;
    std::vector<bool> closings;
    ColourAdjustment adjustment{settings, host()};
    ColourDialog dialog{adjustment};

    ColourDialogs() {
        openNine();
        settings.paperColorMode = 2;
        settings.inkColorMode = 5;
        view.RefreshColours();
        dialog.setViewKeyHandler([this](QKeyEvent* e) {
            viewKeys.push_back(e->key());
            return true;
        });
        dialog.setClosedHandler([this](bool remember) { closings.push_back(remember); });
        dialog.openAdjustment();
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QApplication::processEvents();
    }
    ColourAdjustment::Host host() {
        ColourAdjustment::Host h;
        h.systemColour = [](Side side) { return side == Side::Paper ? rgb(255, 255, 255) : rgb(0, 0, 0); };
        h.refreshColours = [this] { view.RefreshColours(); };
        return h;
    }
    CDIB::RgbQuad shownPaper() const { return view.bitmap().palette()[0]; }
    CDIB::RgbQuad shownInk() const { return view.bitmap().palette()[size_t(view.geometry().colours - 1)]; }
    void click(int id) { child<QAbstractButton>(dialog, id)->click(); }
};

TEST_F(ColourDialogs, EveryControlCarriesItsId) {
    EXPECT_EQ(dialog.objectName(), "148");
    EXPECT_EQ(dialog.windowTitle(), "カラー調整");
    EXPECT_FALSE(dialog.isModal());
    struct Slider {
        int id, least, most;
    };
    for (const Slider s : {Slider{1322, 0, 150}, {1323, 50, 200}, {1324, 0, 255}, {1325, 0, 255}, {1326, 0, 255},
                           {1327, 0, 255}, {1328, 0, 255}, {1329, 0, 255}}) {
        QSlider* slider = child<QSlider>(dialog, s.id);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->orientation(), Qt::Vertical);
        EXPECT_EQ(std::pair(slider->minimum(), slider->maximum()), std::pair(s.least, s.most)) << s.id;
        EXPECT_EQ(slider->singleStep(), 1);
        EXPECT_EQ(slider->pageStep(), 5);
        EXPECT_EQ(slider->tickInterval(), 5);
    }
    for (const int id : {1141, 1154, 1138, 1139, 1140, 1142, 1143, 1144}) child<QLineEdit>(dialog, id);
    const std::vector<std::pair<int, const char*>> buttons{
        {1161, "150"}, {1160, "100"}, {1168, "50"}, {1162, "0"}, {1166, "200"}, {1165, "160"}, {1163, "130"},
        {1164, "100"}, {1167, "50"}, {1334, "反転"}, {1332, "ｼｽﾃﾑｶﾗｰに設定"}, {1333, "戻す"}, {1335, "前項目"},
        {1330, "次項目"}, {1133, "画面プロパティの設定色"}, {1134, "白"}, {1135, "薄い黄色"}, {1136, "薄い水色"},
        {1145, "黒"}, {1169, "灰"}, {1146, "薄い青"}, {1137, "任意の色"}, {1170, "画面プロパティの設定色"},
        {1148, "白"}, {1150, "薄い黄色"}, {1153, "薄い水色"}, {1147, "黒"}, {1152, "赤"}, {1151, "青"},
        {1149, "任意の色"}, {1338, "ｶﾞﾝﾏ補正"}, {1331, "高速更新"}, {1, "OK"}, {2, "キャンセル"}};
    for (const auto& [id, caption] : buttons) {
        if (QAbstractButton* b = child<QAbstractButton>(dialog, id)) {
            EXPECT_EQ(b->text(), caption) << id;
        }
    }

    // Opening shows the values: the paper is white, the ink black, both presets.
    EXPECT_TRUE(child<QRadioButton>(dialog, 1134)->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, 1147)->isChecked());
    EXPECT_FALSE(child<QLineEdit>(dialog, 1138)->isEnabled());
    EXPECT_FALSE(child<QSlider>(dialog, 1327)->isEnabled());
    EXPECT_EQ(child<QSlider>(dialog, 1322)->value(), 50);  // 150 - 100 %
    EXPECT_EQ(child<QLineEdit>(dialog, 1138)->text(), "255");
    EXPECT_FALSE(child<QPushButton>(dialog, 1333)->isVisible());
}

TEST_F(ColourDialogs, TypedContrastIsClampedWhenTheEditIsLeft) {
    QLineEdit* contrast = child<QLineEdit>(dialog, 1154);
    contrast->setFocus();
    contrast->selectAll();
    QTest::keyClicks(contrast, "20");
    child<QSlider>(dialog, 1323)->setFocus();  // leaving the edit
    QApplication::processEvents();
    EXPECT_EQ(contrast->text(), "50");
    EXPECT_EQ(settings.contrast, 50);
    EXPECT_EQ(child<QSlider>(dialog, 1323)->value(), 200);
    // At 50 % contrast the darkest entry lies halfway between paper and ink.
    EXPECT_EQ(shownInk(), quad(128, 128, 128));
}

TEST_F(ColourDialogs, PresetAndModeButtonsReachTheView) {
    click(1168);  // brightness 50
    EXPECT_EQ(shownPaper(), quad(180, 180, 180));
    EXPECT_EQ(child<QSlider>(dialog, 1322)->value(), 100);
    EXPECT_EQ(child<QLineEdit>(dialog, 1141)->text(), "50");
    // The brightness edit shows the paper as it is shown, with white text on it.
    const QPalette swatch = child<QLineEdit>(dialog, 1141)->palette();
    EXPECT_EQ(swatch.color(QPalette::Base), QColor(180, 180, 180));
    EXPECT_EQ(swatch.color(QPalette::Text), QColor(Qt::black));
    click(1161);
    click(1152);  // red ink
    EXPECT_EQ(shownInk(), quad(255, 0, 0));
    EXPECT_EQ(child<QLineEdit>(dialog, 1154)->palette().color(QPalette::Text), QColor(Qt::white));
    click(1149);  // custom ink: the edits open up, starting from red
    EXPECT_TRUE(child<QLineEdit>(dialog, 1142)->isEnabled());
    EXPECT_EQ(child<QSlider>(dialog, 1327)->value(), 0);
    child<QSlider>(dialog, 1329)->setValue(55);  // blue 200
    EXPECT_EQ(shownInk(), quad(255, 0, 200));
    EXPECT_EQ(child<QLineEdit>(dialog, 1144)->text(), "200");
    click(1338);
    EXPECT_EQ(settings.adjustGamma, 1);
}

TEST_F(ColourDialogs, CancelBringsBackTheOpeningColours) {
    click(1145);  // black paper
    click(1148);  // white ink
    click(1166);  // contrast 200
    click(1331);  // fast update off
    EXPECT_EQ(shownPaper(), quad(0, 0, 0));
    click(2);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(closings, std::vector<bool>{false});
    EXPECT_EQ(shownPaper(), quad(255, 255, 255));
    EXPECT_EQ(shownInk(), quad(0, 0, 0));
    EXPECT_EQ(settings.paperColorMode, 2);
    EXPECT_EQ(settings.contrast, 100);
    EXPECT_EQ(settings.fastUpdate, 0);
}

TEST_F(ColourDialogs, KeysOfTheDialogAndOfThePageView) {
    QSlider* bright = child<QSlider>(dialog, 1322);
    bright->setFocus();
    QTest::keyClick(bright, Qt::Key_PageDown);
    QTest::keyClick(bright, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(bright, Qt::Key_Down, Qt::AltModifier);
    ASSERT_EQ(viewKeys.size(), 3u);
    EXPECT_EQ(viewKeys, (std::vector<int>{Qt::Key_PageDown, Qt::Key_Home, Qt::Key_Down}));
    EXPECT_EQ(bright->value(), 50) << "the page keys do not move the slider";
    QTest::keyClick(bright, Qt::Key_Up);
    EXPECT_EQ(settings.bright, 101) << "up raises the value, as the slider stands";

    ASSERT_EQ(QApplication::activeWindow(), &dialog);
    QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(child<QRadioButton>(dialog, 1137)->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), child<QSlider>(dialog, 1324));
    QTest::keyClick(&dialog, Qt::Key_B, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_TRUE(child<QSlider>(dialog, 1329)->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(shownPaper(), quad(0, 0, 0));

    QTest::keyClick(&dialog, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(closings, std::vector<bool>{true});
    EXPECT_EQ(settings.paperColorMode, 0) << "closing as OK keeps the colours";
    dialog.openAdjustment();
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(closings, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace lumipage
