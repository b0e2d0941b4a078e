// The options dialog's values without a display: what it shows for the
// stored settings, the start-up window size rules, what OK writes back, and
// how a stored window size becomes the start-up window.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/OptionsModel.h"
#include "base/Settings.h"
#include "app/WindowPlacement.h"

namespace lumipage {
namespace {

using StartSize = options::StartSize;

constexpr ScreenSize kScreen{1280, 1024};

TEST(OptionsModel, ShowsStoredValuesAndStoresThemMapped) {
    Settings s;
    s.outCode = 13;  // two-dimensional MH, from the command line of an earlier run
    s.pageStartPosition = 7;
    OptionsModel model(s, kScreen);
    EXPECT_EQ(model.outCode(), 12);
    EXPECT_EQ(model.pageStartPosition(), 1) << "an unknown position shows the default";
    EXPECT_TRUE(model.store(s).pageStartPosition);
    EXPECT_EQ(s.outCode, 12);
    EXPECT_EQ(s.pageStartPosition, 1);
    model.setOutCode(10);
    EXPECT_FALSE(model.store(s).pageStartPosition) << "flagged only when it changes";
    EXPECT_EQ(s.outCode, 10);
}

// Every check box writes its own setting and no other one.
TEST(OptionsModel, EachCheckBoxOwnsOneSetting) {
    const Settings defaults;
    for (const options::CheckBox& box : options::checkBoxes()) {
        Settings s;
        OptionsModel model(s, kScreen);
        model.setChecked(box.id, !model.checked(box.id));
        model.store(s);
        int changed = 0;
        for (const options::CheckBox& other : options::checkBoxes()) changed += s.*other.field != defaults.*other.field;
        EXPECT_EQ(changed, 1) << box.id;
        EXPECT_NE(s.*box.field, defaults.*box.field) << box.id;
    }
    Settings s;
    s.useCommentExDlg = 0;
    OptionsModel model(s, kScreen);
    model.setChecked(options::kVerticalFileOpenDlg, true);
    const OptionsChanges changes = model.store(s);
    EXPECT_TRUE(changes.verticalFileOpenDlg);
    EXPECT_FALSE(changes.previewWideStd);
    EXPECT_FALSE(changes.commentFormWithFormatting);
}

TEST(OptionsModel, StoredWindowSizeChoosesItsRadioButton) {
    struct Case {
        std::optional<std::string> stored;
        StartSize shown;
        int width, height;
    };
    const Case cases[] = {
        {std::nullopt, StartSize::AtLastExit, -1, -1},  {"0:640:480", StartSize::AtLastExit, -1, -1},
        {"2:-1:-1", StartSize::Maximised, -1, -1},      {"1:800:600", StartSize::Size800x600, 800, 600},
        {"1:800:-1", StartSize::Size800x600, 800, 600}, {"1:1024:-1", StartSize::Size1024x768, 1024, 768},
        {"1:800:500", StartSize::Given, 800, 500},      {"1:-1:600", StartSize::Given, -1, 600},
        {"rubbish", StartSize::AtLastExit, -1, -1},
    };
    for (const Case& c : cases) {
        Settings s;
        s.windowSize = c.stored;
        const OptionsModel model(s, kScreen);
        const std::string name = c.stored.value_or("absent");
        EXPECT_EQ(model.startSize(), c.shown) << name;
        EXPECT_EQ(model.width(), c.width) << name;
        EXPECT_EQ(model.height(), c.height) << name;
        EXPECT_EQ(model.sizeEditable(), c.shown == StartSize::Given) << name;
    }
}

TEST(OptionsModel, SizesFollowTheScreen) {
    Settings s;
    OptionsModel small(s, {1000, 700});
    EXPECT_TRUE(small.available(StartSize::Size800x600));
    EXPECT_FALSE(small.available(StartSize::Size1024x768));
    small.chooseStartSize(StartSize::Size1024x768);
    EXPECT_EQ(small.startSize(), StartSize::AtLastExit) << "a size the screen cannot hold is not chosen";
    EXPECT_FALSE(OptionsModel(s, {800, 599}).available(StartSize::Size800x600));

    small.enterWidth("900");
    EXPECT_EQ(small.width(), -1) << "the size edits belong to the given size only";
    small.chooseStartSize(StartSize::Given);
    EXPECT_EQ(small.width(), 1000) << "no size yet: the screen's";
    EXPECT_EQ(small.height(), 700);
    small.enterWidth(" 640 ");
    small.enterHeight("5000");
    EXPECT_EQ(small.width(), 640);
    EXPECT_EQ(small.height(), 700);
    small.enterWidth("");
    EXPECT_EQ(small.width(), -1);
    small.enterWidth("6x4");
    EXPECT_EQ(small.width(), -1);
    small.store(s);
    EXPECT_EQ(s.windowSize, "1:-1:700") << "start-up derives the missing width";

    small.chooseStartSize(StartSize::Size800x600);
    small.chooseStartSize(StartSize::Given);
    EXPECT_EQ(small.width(), 800) << "a size already there is kept";
    small.enterWidth("");
    small.enterHeight("");
    small.store(s);
    EXPECT_EQ(s.windowSize, "1:1000:700") << "both emptied: the screen's size";
    small.chooseStartSize(StartSize::Maximised);
    EXPECT_EQ(small.width(), -1);
    EXPECT_EQ(small.height(), -1);
    small.store(s);
    EXPECT_EQ(s.windowSize, "2:-1:-1");
    small.chooseStartSize(StartSize::AtLastExit);
    small.store(s);
    EXPECT_EQ(s.windowSize, "0:-1:-1");
}

// Any start other than at the last size reopens no dialogs, so their
// positions are saved only for that start.
TEST(OptionsModel, DialogPositionsAreSavedOnlyForTheLastSize) {
    Settings s;
    ASSERT_EQ(s.saveDialogPos, 1);
    OptionsModel model(s, kScreen);
    EXPECT_TRUE(model.checkEnabled(options::kSaveDialogPos));
    EXPECT_TRUE(model.checked(options::kSaveDialogPos));
    model.chooseStartSize(StartSize::Size1024x768);
    EXPECT_FALSE(model.checkEnabled(options::kSaveDialogPos));
    EXPECT_FALSE(model.checked(options::kSaveDialogPos));
    model.setChecked(options::kSaveDialogPos, true);
    EXPECT_FALSE(model.checked(options::kSaveDialogPos));
    model.store(s);
    EXPECT_EQ(s.saveDialogPos, 0);
    EXPECT_EQ(s.windowSize, "1:1024:768");

    model.chooseStartSize(StartSize::AtLastExit);
    model.setChecked(options::kSaveDialogPos, true);
    model.store(s);
    EXPECT_EQ(s.saveDialogPos, 1);

    s.windowSize = "2:-1:-1";
    EXPECT_FALSE(OptionsModel(s, kScreen).checked(options::kSaveDialogPos)) << "shown as it will be stored";
}

TEST(OptionsModel, StoredWindowSizeIsTheStartUpRequest) {
    Settings s;
    s.windowSize = "1:800:-1";
    StartupRequest r = parseCommandLine({}, s);
    EXPECT_EQ(r.windowSizeMode, 1);
    EXPECT_EQ(requestedWindowRect(r, {1280, 1024}), (ViewRect{240, 212, 1040, 812}));

    r = parseCommandLine({"-H300"}, s);
    EXPECT_EQ(requestedWindowRect(r, {1280, 1024})->height(), 300) << "the command line wins";
    EXPECT_EQ(requestedWindowRect(r, {1280, 1024})->width(), 800);

    s.windowSize = "2:-1:-1";
    EXPECT_EQ(parseCommandLine({}, s).windowSizeMode, 2);
    for (const char* none : {"0:-1:-1", "1:-1:-1", "1:800", "1:800:600:4", "1:8OO:600"}) {
        s.windowSize = none;
        r = parseCommandLine({}, s);
        EXPECT_EQ(r.windowSizeMode, 0) << none;
        EXPECT_FALSE(requestedWindowRect(r, {1280, 1024})) << none;
    }
}

}  // namespace
}  // namespace lumipage
