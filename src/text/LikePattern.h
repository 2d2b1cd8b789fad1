#pragma once

#include <QString>
#include <QStringView>

namespace vantrel::text {

// Which differences a LIKE comparison ignores: letter case ([c]) and diacritics ([d]).
enum class LikeOption {
    None = 0,
    CaseInsensitive = 1,
    DiacriticInsensitive = 2,
    CaseAndDiacriticInsensitive = 3
};

// A filter pattern in which "*" matches any run of characters and "?" any one character, matched
// against the whole text, as the object model's filters use it ("name LIKE[cd] %@"). Both sides are
// folded the same way first, so "café" matches "CAFE" under [cd].
class LikePattern {
public:
    explicit LikePattern(QStringView pattern, LikeOption options = LikeOption::CaseAndDiacriticInsensitive);

    bool matches(QStringView text) const;

    // The text as the comparison sees it: decomposed, without combining marks ([d]), case-folded ([c]).
    static QString fold(QStringView text, LikeOption options);

private:
    QString m_pattern; // folded
    LikeOption m_options;
};

} // namespace vantrel::text
