#pragma once
// A static text that acts as a hyperlink: drawn in link colours and underlined, with its target
// as a tooltip and a cursor of its own; a click opens the target through the shell (or the
// browser registered for ".htm") and marks the link visited. It knows nothing of the dialog it
// sits in: the dialog attaches it to a static control and configures it.
#include "win/control.h"
#include "win/handles.h"

#include <string>

namespace controls {

class HyperLinkControl : public win::Control {
public:
    // A text without a target takes the text as target; a control without text shows its target.
    void setLinkTarget(const std::wstring& target);
    const std::wstring& linkTarget() const { return target_; }
    void markVisited(bool visited);
    bool visited() const { return visited_; }
    void setUnderlined(bool underlined);
    void setLinkCursor(HCURSOR cursor) { cursor_ = cursor; }
    void setFitToText(bool fit) { fitToText_ = fit; }

protected:
    void onAttached() override;
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool handleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void addTooltip();
    void fitToText();
    HGDIOBJ textFont() const;
    LRESULT chooseColours(HDC dc);
    void openLink();
    // ShellExecute's result, or that of the ".htm" fallback; above 32 means opened.
    INT_PTR openLinkTarget(const std::wstring& target, int showCommand);
    void reportOpenFailure(int code);
    void repaintUnderText();

    COLORREF linkColour_ = RGB(0, 0, 238);
    COLORREF visitedColour_ = RGB(85, 26, 139);
    bool visited_ = false;
    bool underlined_ = true;
    bool fitToText_ = true;
    std::wstring target_;
    win::UniqueFont underlineFont_;
    HCURSOR cursor_ = nullptr;
    win::UniqueWindow tooltip_;
};

} // namespace controls
