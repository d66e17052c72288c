// Rules of the options, custom dial and About dialogs that need no window.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "core/link_open.h"
#include "core/stored_path.h"
#include "core/zoom_scale.h"

namespace {

std::uint32_t bits(float value) {
    std::uint32_t b = 0;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

struct ZoomCase {
    float stored;
    int position;
    const wchar_t* label;
};

TEST(ZoomSlider, StoredZoomGivesPositionAndLabel) {
    const float inf = std::numeric_limits<float>::infinity();
    const ZoomCase cases[] = {
        {1.0f, 0, L"100％"},    {1.29f, 29, L"129％"},
        {2.0f, 100, L"200％"},  {1.234f, 23, L"123％"},
        {0.5f, 0, L"100％"},    {2.5f, 100, L"200％"},
        {0.0f, 0, L"100％"},    {-7.0f, 0, L"100％"},
        {1e30f, 100, L"200％"}, {inf, 100, L"200％"},
        {-inf, 0, L"100％"},    {std::numeric_limits<float>::quiet_NaN(), 0, L"100％"},
    };
    for (const ZoomCase& c : cases) {
        EXPECT_EQ(core::zoomSliderPosition(c.stored), c.position) << c.stored;
        EXPECT_EQ(core::zoomPercentLabel(core::sensibleZoom(c.stored)), c.label) << c.stored;
    }
}

TEST(ZoomSlider, EveryPositionComesBackAsTheSameFloat) {
    for (int position = 0; position <= core::ZoomSliderMax; ++position) {
        const float zoom = core::zoomAtSliderPosition(position);
        ASSERT_EQ(core::zoomSliderPosition(zoom), position);
        EXPECT_EQ(bits(core::zoomAtSliderPosition(core::zoomSliderPosition(zoom))), bits(zoom));
        EXPECT_EQ(core::zoomPercentLabel(zoom), std::to_wstring(100 + position) + L"％");
    }
    // A zoom written by an earlier run reads back bit for bit.
    EXPECT_EQ(bits(core::zoomAtSliderPosition(29)), bits(1.29f));
    EXPECT_EQ(bits(core::zoomAtSliderPosition(10)), bits(1.1f));
}

TEST(BrowserCommand, CutsAtThePlaceholderAndQuotesTheTarget) {
    const std::wstring target = L"mailto:veltrano@example.org";
    EXPECT_EQ(core::browserCommandLine(L"\"C:\\web\\browser.exe\" -new \"%1\" -x", target),
              L"\"C:\\web\\browser.exe\" -new  \"mailto:veltrano@example.org\"");
    EXPECT_EQ(core::browserCommandLine(L"C:\\web\\browser.exe %1", target),
              L"C:\\web\\browser.exe  \"mailto:veltrano@example.org\"");
    EXPECT_EQ(core::browserCommandLine(L"\"C:\\Program Files\\web.exe\"", target),
              L"\"C:\\Program Files\\web.exe\" \"mailto:veltrano@example.org\"");
    const std::wstring longTarget = L"http://example.org/" + std::wstring(600, L'a');
    EXPECT_EQ(core::browserCommandLine(L"web.exe \"%1\"", longTarget),
              L"web.exe  \"" + longTarget + L"\"");
}

TEST(LinkFailure, MessagesByCode) {
    EXPECT_EQ(core::openFailureText(2),
              L"Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(core::openFailureText(26),
              L"Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(core::openFailureText(30),
              L"Unable to open hyperlink:\n\nThe DDE transaction could not\nbe completed because "
              L"other DDE transactions\nwere being processed.");
    EXPECT_EQ(core::openFailureText(0),
              L"Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    for (const int unknown : {1, 4, 12, 25, 33, -5})
        EXPECT_EQ(core::openFailureText(unknown), L"Unable to open hyperlink:\n\nUnknown Error (" +
                                                      std::to_wstring(unknown) + L") occurred.");
    EXPECT_EQ(core::launchFailureCode(2), 2);
    EXPECT_EQ(core::launchFailureCode(193), 11);
}

TEST(StoredPath, FullPathFirstThenTheShortFormElseWhyNot) {
    const std::string fits(core::MaxStoredPathBytes, 'a');
    const std::string tooLong(core::MaxStoredPathBytes + 1, 'a');
    const core::AnsiPath shortForm{"C:\\PICTUR~1\\FACE~1.PNG", true};
    const core::AnsiPath none{};

    EXPECT_EQ(core::chooseStoredPath({fits, true}, shortForm).bytes, fits);
    EXPECT_EQ(core::chooseStoredPath({tooLong, true}, shortForm).bytes, shortForm.bytes);
    EXPECT_EQ(core::chooseStoredPath({"C:\\?.png", false}, shortForm).bytes, shortForm.bytes);

    const core::StoredPathChoice longRefused = core::chooseStoredPath({tooLong, true}, none);
    EXPECT_EQ(longRefused.problem, core::PathProblem::TooLong);
    EXPECT_EQ(longRefused.bytes, "");
    EXPECT_EQ(core::chooseStoredPath({"C:\\?.png", false}, {tooLong, true}).problem,
              core::PathProblem::NotInCodePage);
}

} // namespace
