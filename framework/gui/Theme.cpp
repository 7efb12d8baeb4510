#include "framework/gui/Theme.h"

#include "framework/IniFile.h"
#include "framework/Log.h"

namespace orv {

Theme theme;

namespace {

struct ColourKey {
    const char* section;
    const char* key;
    sf::Color Theme::*field;
};

// Read order matters: a colour may name a key read before it.
#define ORV_COLOUR(section, name) {section, #name, &Theme::name}
const ColourKey colourKeys[] = {
    ORV_COLOUR("form", clFormBack),
    ORV_COLOUR("form", clFormBorderLight),
    ORV_COLOUR("form", clFormBorderDark),
    ORV_COLOUR("form", clFormText),
    ORV_COLOUR("titleBar", clTitleBarBack),
    ORV_COLOUR("titleBar", clTitleBarBorderLight),
    ORV_COLOUR("titleBar", clTitleBarBorderDark),
    ORV_COLOUR("titleBar", clTitleBarText),
    ORV_COLOUR("edit", clEditBack),
    ORV_COLOUR("edit", clEditBorderLight),
    ORV_COLOUR("edit", clEditBorderDark),
    ORV_COLOUR("edit", clEditText),
    ORV_COLOUR("edit", clEditTextDisabled),
    ORV_COLOUR("button", clButtonBack),
    ORV_COLOUR("button", clButtonBorderLight),
    ORV_COLOUR("button", clButtonBorderDark),
    ORV_COLOUR("button", clButtonText),
    ORV_COLOUR("button", clButtonIcon),
    ORV_COLOUR("button", clButtonPressedBack),
    ORV_COLOUR("button", clButtonPressedBorderLight),
    ORV_COLOUR("button", clButtonPressedBorderDark),
    ORV_COLOUR("hint", clHintBack),
    ORV_COLOUR("hint", clHintBorderLight),
    ORV_COLOUR("hint", clHintBorderDark),
    ORV_COLOUR("hint", clHintText),
    ORV_COLOUR("hint", clHintShadow),
    ORV_COLOUR("scrollbar", clScrollBack),
    ORV_COLOUR("scrollbar", clScrollBorderLight),
    ORV_COLOUR("scrollbar", clScrollBorderDark),
    ORV_COLOUR("scrollbar", clScrollDraggerBack),
    ORV_COLOUR("scrollbar", clScrollDraggerBorderLight),
    ORV_COLOUR("scrollbar", clScrollDraggerBorderDark),
    ORV_COLOUR("scrollbar", clScrollbarPercentage75),
    ORV_COLOUR("scrollbar", clScrollbarPercentage50),
    ORV_COLOUR("scrollbar", clScrollbarPercentage25),
    ORV_COLOUR("scrollbar", clScrollbarPercentage0),
    ORV_COLOUR("listBox", clListBoxBack),
    ORV_COLOUR("listBox", clListBoxBorderLight),
    ORV_COLOUR("listBox", clListBoxBorderDark),
    ORV_COLOUR("listBox", clListBoxText),
    ORV_COLOUR("listBox", clListBoxSelectBack),
    ORV_COLOUR("listBox", clListBoxSelectText),
    ORV_COLOUR("menu", clMenuBack),
    ORV_COLOUR("menu", clMenuText),
    ORV_COLOUR("menu", clMenuBorderLight),
    ORV_COLOUR("menu", clMenuBorderDark),
    ORV_COLOUR("menu", clMenuSelectBack),
    ORV_COLOUR("menu", clMenuSelectText),
    ORV_COLOUR("coolMenu", clCoolMenuItemBack),
    ORV_COLOUR("coolMenu", clCoolMenuItemBackSelected),
    ORV_COLOUR("coolMenu", clCoolMenuItemText),
    ORV_COLOUR("coolMenu", clCoolMenuItemTextSelected),
    ORV_COLOUR("coolMenu", clCoolMenuTitleBack),
    ORV_COLOUR("coolMenu", clCoolMenuTitleText),
    ORV_COLOUR("messages", clMessageWarning),
    ORV_COLOUR("messages", clMessageError),
    ORV_COLOUR("inspector", clInsTitleBarBack),
    ORV_COLOUR("inspector", clInsTitleBarBorderLight),
    ORV_COLOUR("inspector", clInsTitleBarBorderDark),
    ORV_COLOUR("inspector", clInsTitleBarText),
    ORV_COLOUR("inspector", clInsCellBack),
    ORV_COLOUR("inspector", clInsCellBorderLight),
    ORV_COLOUR("inspector", clInsCellBorderDark),
    ORV_COLOUR("inspector", clInsCellText),
    ORV_COLOUR("inspector", clInsMouseOverCellBack),
    ORV_COLOUR("inspector", clInsMouseOverCellBorderLight),
    ORV_COLOUR("inspector", clInsMouseOverCellBorderDark),
    ORV_COLOUR("inspector", clInsMouseOverCellText),
    ORV_COLOUR("inspector", clInsSectionBack),
    ORV_COLOUR("inspector", clInsSectionBorderLight),
    ORV_COLOUR("inspector", clInsSectionBorderDark),
    ORV_COLOUR("inspector", clInsSectionText),
    ORV_COLOUR("inspector", clInsSectionExpandBack),
    ORV_COLOUR("inspector", clInsSectionExpandBorderLight),
    ORV_COLOUR("inspector", clInsSectionExpandBorderDark),
    ORV_COLOUR("inspector", clInsSectionExpandText),
    ORV_COLOUR("other", clDialogBlurBack),
    ORV_COLOUR("other", clEditorBack),
};
#undef ORV_COLOUR

} // namespace

void resetTheme()
{
    theme = Theme();
}

bool loadTheme()
{
    static const Theme defaults;
    IniFile ini;
    ini.load("uiConfig.ini");
    ini.colorReferences = true;

    ini.setSection("options");
    theme.themeName = ini.getString("themeName", defaults.themeName);
    theme.darkTheme = ini.getBool("darkTheme", defaults.darkTheme);
    theme.coolMenuAnimateCurrentIcon = ini.getBool("coolMenuAnimateCurrentIcon", defaults.coolMenuAnimateCurrentIcon);
    theme.hintShadowOffset = ini.getFloat("hintShadowOffset", defaults.hintShadowOffset);

    const char* selected = nullptr;
    for (const ColourKey& c : colourKeys) {
        if (!selected || std::string(selected) != c.section) {
            ini.setSection(c.section);
            selected = c.section;
        }
        theme.*c.field = ini.getColor(c.key, defaults.*c.field);
    }

    Log::write("Loaded UI config from uiConfig.ini");
    return true;
}

} // namespace orv
