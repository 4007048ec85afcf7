// The characters the line-breaking rules name: data only, each character
// once, in the row of what it is (private to layout/; kinsoku.cc turns the
// rows into BREAK_ENTRIES).
//
// A row gives its characters' BookKind (BK_OTHER when it names none) and the
// rules that hold for them. Printable ASCII that no row lists is BK_ASCII,
// and a row that lists some says BK_ASCII; the second unit of a surrogate
// pair is BK_PAIR_TAIL.
#pragma once

#include "layout/break_classes.h"

namespace yomite {

struct BreakChars {
  const char16_t* chars;
  BreakEntry entry;
};

inline constexpr BreakChars BREAK_CHARS[] = {
    // Opening brackets.
    {u"（〔［｛〈《「『【", BK_OPENER | NEVER_ENDS},
    {u"〘〖〝‘“｟", BK_OPENER | BOOK_NEVER_ENDS},
    {u"([{'", BK_ASCII | NEVER_ENDS},
    {u"｢", NEVER_ENDS},
    // Closing brackets.
    {u"’）〕］｝〉》」』】", BK_CLOSER | NEVER_STARTS},
    {u"”〟〙〗｠", BK_CLOSER | BOOK_NEVER_STARTS},
    {u")]}", BK_ASCII | NEVER_STARTS},
    {u"｣", NEVER_STARTS},
    // Commas and full stops.
    {u"、，", BK_COMMA | NEVER_STARTS | HANGS},
    {u"。．", BK_STOP | NEVER_STARTS | HANGS},
    {u"､｡", NEVER_STARTS | HANGS},
    {u",.", BK_ASCII | NEVER_STARTS},
    // Middle dots, colons and semicolons.
    {u"・", BK_MIDDLE | NEVER_STARTS},
    {u"：；", BK_MIDDLE | BOOK_NEVER_STARTS},
    {u"･", NEVER_STARTS},
    {u":;", BK_ASCII | BOOK_NEVER_STARTS},
    // Question and exclamation marks.
    {u"？！", NEVER_STARTS},
    {u"?!", BK_ASCII | NEVER_STARTS},
    {u"‼⁇⁈⁉", BOOK_NEVER_STARTS},
    // Sound marks, iteration marks and the long vowel mark; small kana.
    {u"゛゜ヽヾゝゞ々ー", NEVER_STARTS},
    {u"ｧｨｩｪｫｬｭｮｯｰﾞﾟ", NEVER_STARTS},
    {u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ〻゠", BOOK_NEVER_STARTS},
    // Hyphens, the slash, dashes and ellipses.
    {u"‐–〜", BOOK_NEVER_STARTS},
    {u"/", BK_ASCII | BOOK_NEVER_STARTS},
    {u"―—", BK_DASH},
    {u"…‥", BK_ELLIPSIS | NEVER_STARTS},
    // Spaces.
    {u" ", BK_SPACE | NEVER_STARTS},
    {u"\u3000", BK_SPACE},
    // Digits, and the signs that stay with a number.
    {u"0123456789", BK_ASCII | DIGIT},
    {u"０１２３４５６７８９", BK_DIGIT | DIGIT},
    {u"％‰℃°′″¢円", POSTFIX},
    {u"%", BK_ASCII | POSTFIX},
    {u"＄￥￡¥＃№", PREFIX},
    {u"$#", BK_ASCII | PREFIX},
};

}  // namespace yomite
