#include "transform/swapconsonant.h"

#include <array>

namespace {

// The consonants in alphabetical order without й; the k-th pairs with the
// (21 - k)-th.
constexpr char16_t Consonants[] = u"бвгджзклмнпрстфхцчшщ";
constexpr int ConsonantCount = 20;

constexpr char16_t FirstCyrillic = u'А'; // U+0410
constexpr char16_t LastCyrillic = u'я';  // U+044F

// Partner of every letter from А to я, or 0 where the letter has none.
constexpr auto makePartners()
{
    std::array<char16_t, LastCyrillic - FirstCyrillic + 1> partners{};
    constexpr char16_t CaseOffset = u'а' - u'А';
    for (int k = 0; k < ConsonantCount; ++k) {
        const char16_t lower = Consonants[k];
        const char16_t partner = Consonants[ConsonantCount - 1 - k];
        partners[lower - FirstCyrillic] = partner;
        partners[lower - CaseOffset - FirstCyrillic] = partner - CaseOffset;
    }
    return partners;
}

constexpr auto Partners = makePartners();

} // namespace

QChar SwapConsonant(QChar c)
{
    const char16_t code = c.unicode();
    if (code < FirstCyrillic || code > LastCyrillic)
        return c;
    const char16_t partner = Partners[code - FirstCyrillic];
    return partner ? QChar(partner) : c;
}
