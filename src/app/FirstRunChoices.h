#pragma once

#include <QString>

#include <vector>

namespace vantrel::app {

// One button of the first-run choices: its title, the tag its click reports, and the width it is
// at least given (0: as wide as its title needs).
struct FirstRunButton {
    QString title;
    int tag = 0;
    int minimumWidth = 0;

    friend bool operator==(const FirstRunButton&, const FirstRunButton&) = default;
};

// What the welcome window offers once the cloud probe has answered or timed out: the info label
// and the visible buttons in order (buttons not listed are hidden).
struct FirstRunChoices {
    QString infoLabel;
    std::vector<FirstRunButton> buttons;

    friend bool operator==(const FirstRunChoices&, const FirstRunChoices&) = default;
};

} // namespace vantrel::app
