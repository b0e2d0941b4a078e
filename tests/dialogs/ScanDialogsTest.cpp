// The scanning dialogs: the scan dialog's controls and kept values, its
// enabling and results, the threshold dialog and the source chooser.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "gui/dialogs/ScanDialog.h"
#include "gui/dialogs/SourceChooserDialog.h"
#include "gui/dialogs/ThresholdDialog.h"
#include "scan/ScanCapabilities.h"

namespace lumipage {
namespace {

template <typename W>
W* child(QWidget& dialog, const char* name) {
    W* w = dialog.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

struct ScanDialogs : ::testing::Test {
    ScanSettings settings;
    ScanCapabilities caps;
    ScanDialogSetup setup;

    ScanDialogs() {
        caps.resolutions.values = {600, 400, 300, 200};
        caps.reductions = {{0, -1, "なし"}, {2, -1, "誤差拡散"}};
        caps.scaling = ScalingRange{50, 200, 1, 100};
        setup.title = "スキャナ入力";
        setup.capabilities = &caps;
        setup.paperSizes = scanformulas::offeredPaperSizes(8.5, 14);  // a legal-size flatbed
        settings.folder = "/scans";
        settings.prefix = "DOC";
        settings.number = "041";
        settings.resolution = "400";
        settings.zoom = 141;
        settings.brightness = -30;
        settings.reduction = 1;
        settings.paperSize = 8;
        settings.landscape = true;
        settings.margins = {1, 2, 3, 4};
        settings.feeder = true;
        settings.adjustThreshold = true;
    }
};

TEST_F(ScanDialogs, ControlsShowTheKeptValuesAndGiveThemBack) {
    ScanDialog dialog(settings, setup, nullptr);
    EXPECT_EQ(child<QLineEdit>(dialog, "prefix")->text(), "DOC");
    EXPECT_EQ(child<QComboBox>(dialog, "resolution")->currentText(), "400");
    EXPECT_EQ(child<QComboBox>(dialog, "resolution")->count(), 4);
    EXPECT_EQ(child<QSpinBox>(dialog, "zoom")->value(), 141);
    EXPECT_EQ(child<QComboBox>(dialog, "reduction")->currentText(), "誤差拡散");
    EXPECT_EQ(child<QSlider>(dialog, "brightness")->value(), -30);
    EXPECT_TRUE(child<QRadioButton>(dialog, "feeder")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, "landscape")->isChecked());
    EXPECT_EQ(child<QDoubleSpinBox>(dialog, "marginBottom")->value(), 4);

    // Edits come back into the settings; untouched values stay as they were.
    child<QComboBox>(dialog, "resolution")->setCurrentText("200");
    child<QCheckBox>(dialog, "overwrite")->click();
    child<QRadioButton>(dialog, "portrait")->click();
    dialog.findChildren<QPushButton*>("zoomButton")[2]->click();  // " 71%"
    child<QLineEdit>(dialog, "title")->setText("見積書");
    ScanSettings back = settings;
    back.number = "xxx";
    dialog.store(back);
    EXPECT_EQ(back.resolution, "200");
    EXPECT_TRUE(back.overwrite);
    EXPECT_FALSE(back.landscape);
    EXPECT_EQ(back.zoom, 71);
    EXPECT_EQ(back.title, "見積書");
    EXPECT_EQ(back.number, "041");
    EXPECT_EQ(back.paperSize, 8);
    EXPECT_EQ(back.reduction, 1);
    EXPECT_EQ(back.brightness, -30);
    EXPECT_TRUE(back.feeder);
    EXPECT_TRUE(back.adjustThreshold);
    EXPECT_EQ(back.margins.top, 2);
}

TEST_F(ScanDialogs, PaperSizesRunFromTheLargestThatFitsAndYieldToACustomSize) {
    ScanDialog dialog(settings, setup, nullptr);
    auto* paper = child<QComboBox>(dialog, "paperSize");
    // An 8.5 x 14 inch flatbed takes US letter but not B4.
    ASSERT_EQ(paper->count(), 11);
    EXPECT_EQ(paper->itemText(0), "USﾚﾀｰ 216x279mm");
    EXPECT_EQ(paper->itemText(10), "名刺    55x91mm");
    EXPECT_EQ(paper->currentText(), "B5    182x257mm");
    EXPECT_TRUE(paper->isEnabled());
    EXPECT_FALSE(child<QDoubleSpinBox>(dialog, "customWidth")->isEnabled());
    child<QCheckBox>(dialog, "customSize")->click();
    EXPECT_FALSE(paper->isEnabled());
    EXPECT_TRUE(child<QDoubleSpinBox>(dialog, "customWidth")->isEnabled());
    paper->setCurrentIndex(0);
    ScanSettings back;
    dialog.store(back);
    EXPECT_EQ(back.paperSize, 11);
    EXPECT_TRUE(back.customSize);
}

TEST_F(ScanDialogs, ExecuteFollowsTheTargetAsItIsEdited) {
    // The caption and "実行" as a job answers them: an existing file needs "上書許可".
    auto titleFor = [](const ScanSettings& s, bool* enabled) {
        const bool exists = s.targetName() == "DOC041.TIF";
        *enabled = !exists || s.overwrite;
        return std::string("スキャナ入力") + (exists ? "（上書）" : "（新規）");
    };
    ScanDialog dialog(settings, setup, titleFor);
    EXPECT_EQ(dialog.windowTitle(), "スキャナ入力（上書）");
    EXPECT_FALSE(dialog.executeButton()->isEnabled());
    child<QCheckBox>(dialog, "overwrite")->click();
    EXPECT_TRUE(dialog.executeButton()->isEnabled());
    child<QCheckBox>(dialog, "overwrite")->click();
    child<QLineEdit>(dialog, "number")->setText("042");
    EXPECT_EQ(dialog.windowTitle(), "スキャナ入力（新規）");
    EXPECT_TRUE(dialog.executeButton()->isEnabled());
    EXPECT_FALSE(dialog.sendButton()->isVisibleTo(&dialog));
}

TEST_F(ScanDialogs, TheNumberFieldIsClampedInItsWidth) {
    ScanDialog dialog(settings, setup, nullptr);
    auto* number = child<QLineEdit>(dialog, "number");
    number->setText("7");
    emit number->editingFinished();
    EXPECT_EQ(number->text(), "007");
    number->setText("12345");
    emit number->editingFinished();
    EXPECT_EQ(number->text(), "9999");
}

TEST_F(ScanDialogs, FaxModeShowsSendAndLocksTheFeedOptions) {
    setup.sendShown = true;
    setup.sendEnabled = true;
    setup.continuousEnabled = false;
    setup.sourceDialogEnabled = false;
    settings.continuous = true;
    ScanDialog dialog(settings, setup, nullptr);
    EXPECT_TRUE(dialog.sendButton()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.sendButton()->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(dialog, "continuous")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(dialog, "continuous")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "sourceDialog")->isEnabled());

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.sendButton()->click(); });
    EXPECT_EQ(dialog.exec(), int(ScanDialogResult::Send));
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.endButton()->click(); });
    EXPECT_EQ(dialog.exec(), int(ScanDialogResult::End));
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.executeButton()->click(); });
    EXPECT_EQ(dialog.exec(), int(ScanDialogResult::Execute));
}

TEST(ThresholdDialogTest, TheSliderShowsTheThresholdInvertedAndPreviewsIt) {
    ThresholdAdjustment adjustment;
    adjustment.threshold = 100;
    adjustment.number = "005";
    adjustment.fileName = "SCAN005.TIF";
    std::vector<int> previews;
    adjustment.preview = [&previews](int t) { previews.push_back(t); };
    ThresholdDialog dialog(adjustment);
    EXPECT_EQ(dialog.windowTitle(), "スキャナ入力-閾値調整");
    EXPECT_EQ(dialog.slider()->value(), 156);
    child<QPushButton>(dialog, "lighter")->click();
    child<QPushButton>(dialog, "darker")->click();
    child<QPushButton>(dialog, "darker")->click();
    EXPECT_EQ(previews, (std::vector<int>{92, 100, 108}));
    QTest::keyClick(&dialog, Qt::Key_F4);
    EXPECT_EQ(previews.back(), 128);
    QTest::keyClick(&dialog, Qt::Key_F8);
    dialog.slider()->setValue(256);  // the top: threshold 0, no black at all
    EXPECT_EQ(previews.back(), 0);
    dialog.slider()->setValue(1);
    EXPECT_EQ(previews.back(), 255);

    child<QLineEdit>(dialog, "fileName")->setText("RECEIPT.TIF");
    child<QCheckBox>(dialog, "dontShowAgain")->setChecked(true);
    dialog.slider()->setValue(136);
    QTimer::singleShot(0, &dialog, [&dialog] { child<QPushButton>(dialog, "ok")->click(); });
    dialog.exec();
    EXPECT_EQ(adjustment.threshold, 120);
    EXPECT_EQ(adjustment.fileName, "RECEIPT.TIF");
    EXPECT_EQ(adjustment.number, "005");
    EXPECT_TRUE(adjustment.dontShowAgain);
}

TEST(SourceChooserDialogTest, OffersTheSourcesWithTheCurrentOneChosen) {
    SourceChooserDialog dialog({"test:0", "test:1", "test:2"}, 1);
    EXPECT_EQ(dialog.list()->count(), 3);
    EXPECT_EQ(dialog.chosen(), std::optional<size_t>(1));
    dialog.list()->setCurrentRow(2);
    EXPECT_EQ(dialog.chosen(), std::optional<size_t>(2));

    SourceChooserDialog none({}, 0);
    EXPECT_EQ(none.chosen(), std::nullopt);
    EXPECT_FALSE(child<QPushButton>(none, "ok")->isEnabled());
}

}  // namespace
}  // namespace lumipage
