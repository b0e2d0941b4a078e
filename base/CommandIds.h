#pragma once

namespace lumipage::command {

// The program's command numbers. Menus, tool bar buttons, keys and the
// requests of other running copies all name commands by these numbers.

// Files.
constexpr int kOpen = 57601;
constexpr int kCloseCurrent = 32827;
constexpr int kCloseSelected = 32862;
constexpr int kCloseAll = 32828;
constexpr int kSaveIndex = 32871;
constexpr int kSaveCurrentFile = 57604;
constexpr int kConvertSelected = 32876;
constexpr int kConvertAll = 32829;
constexpr int kEditCurrentFile = 32870;
constexpr int kDeleteSentFiles = 32860;
constexpr int kDeletePrintedFiles = 32861;
constexpr int kDeleteCurrentFile = 32858;
constexpr int kDeleteSelectedFiles = 32866;
constexpr int kDeleteAllFiles = 32857;
constexpr int kEditComment = 32875;
constexpr int kBookInformation = 32877;
constexpr int kSaveStateAndExit = 32874;
constexpr int kExit = 57665;

// Scanning, copying and fax.
constexpr int kSelectScanner = 32831;
constexpr int kScanNew = 32830;
constexpr int kRescan = 32833;
constexpr int kCopyDirect = 32852;
constexpr int kCopyWithPrinterSetup = 32851;
constexpr int kFaxSend = 32859;
constexpr int kFaxSelected = 32824;
constexpr int kFaxAll = 32825;
constexpr int kFaxFromScanner = 32856;
constexpr int kPhoneBook = 32826;
constexpr int kVoiceCall = 32867;

// Printing.
constexpr int kPrintAllDialog = 32983;
constexpr int kPrintAll = 57607;
constexpr int kPrintDirect = 57608;
constexpr int kPrintSelected = 32809;
constexpr int kPrintScreen = 32803;
constexpr int kPreviewAll = 57609;
constexpr int kPreviewSelected = 32810;
constexpr int kPreviewScreen = 32804;
constexpr int kPrinterSetup = 57606;

// Zoom and scrolling.
constexpr int kZoomIn = 32780;
constexpr int kZoomOut = 32781;
constexpr int kFitPageWidth = 32776;
constexpr int kFitTwicePageWidth = 32787;
constexpr int kFitWholePage = 32779;
constexpr int kZoomByMouse = 32777;
constexpr int kZoomFrame = 32778;
constexpr int kEnlargeFrame = 32815;
constexpr int kShrinkFrame = 32814;
constexpr int kAutoScroll = 32789;
constexpr int kCatchScroll = 32894;
constexpr int kViewCenter = 32981;
constexpr int kViewFrameShadow = 32982;
constexpr int kColourAdjustment = 32839;
constexpr int kOptions = 32853;

// Navigation and selection.
constexpr int kNextPage = 32772;
constexpr int kPreviousPage = 32771;
constexpr int kFirstPage = 32807;
constexpr int kLastPage = 32808;
constexpr int kJump = 32773;
constexpr int kBack = 32774;
constexpr int kNextSelected = 32844;
constexpr int kPreviousSelected = 32845;
constexpr int kPageCounter = 32812;
constexpr int kSelectionCounter = 32848;
constexpr int kToggleSelection = 32834;
constexpr int kSelectAll = 57642;
constexpr int kClearSelection = 32840;
constexpr int kInvertSelection = 32841;
constexpr int kClearPrintedMarks = 32865;
constexpr int kClearSentMarks = 32864;

// Turning, mirroring and inverting.
constexpr int kRotate0 = 32793;
constexpr int kRotate90 = 32794;
constexpr int kRotate180 = 32795;
constexpr int kRotate270 = 32796;
constexpr int kRotateAll0 = 32878;
constexpr int kRotateAll90 = 32879;
constexpr int kRotateAll180 = 32880;
constexpr int kRotateAll270 = 32881;
constexpr int kTurnLeft = 32797;
constexpr int kTurnRight = 32798;
constexpr int kTurnHalf = 32801;
constexpr int kInvert = 32882;
constexpr int kInvertAll = 32883;
constexpr int kMirrorLeftRight = 32884;
constexpr int kMirrorLeftRightAll = 32885;
constexpr int kMirrorUpDown = 32886;
constexpr int kMirrorUpDownAll = 32887;

// Books, help.
constexpr int kContents = 32872;
constexpr int kKeywordIndex = 32873;
constexpr int kManual = 32869;
constexpr int kGuideBook = 32984;

}  // namespace lumipage::command
