#pragma once
#include <string>
#include <vector>

#include "app/ViewerCommands.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"
#include "support/ViewFakes.h"
#include "view/CLP98View.h"
#include "view/PageListDocument.h"
#include "view/PageNavigator.h"

namespace lumipage::test {

// The page list, its document and a view of it in a fake window, with the
// navigation and the command table's handlers on top; the pages are real
// files: a 3-page file, a 1-page fax file and a 5-page file (9 pages).
struct ViewerFixture : DocumentFixture {
    FakeViewHost host;
    PageListDocument viewDocument{doc, table};
    CLP98View view{host, viewDocument, settings};
    PageNavigator navigator{table, doc, view};
    ViewerCommands commands{view, navigator, doc, table, settings};
    int changes = 0;
    PageRaster small = makePage(Pattern::Text, 96, 40, 1);
    std::string three, one, five;

    ViewerFixture() {
        navigator.setChangeListener([this] { ++changes; });
        commands.setChangeListener([this] { ++changes; });
        three = writeMH("three.MH", {&small, &small, &small}, 0);
        one = writeFax("one.FAX", makePage(Pattern::Text, 1728, 2290, 2));
        five = writeMH("five.MH", {&small, &small, &small, &small, &small}, 0);
    }
    // Opens the three files at page 1 and shows it.
    void openNine() {
        table.append(three);
        table.append(one);
        table.append(five);
        doc.goToPage(1);
        view.ShowCurrentPage();
    }
};

}  // namespace lumipage::test
