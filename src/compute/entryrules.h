#pragma once

namespace dravin {

class Prompter;
class TDravinDataT;

// Attaches the rules that keep a space record consistent while it is entered, by the
// user or by code, to both space-table components: the clear volume follows area and
// height; a new floor brings its height, abbreviation, default kind and coefficients;
// a new kind brings its coefficients; a refused post shows the duplicate-number
// message and keeps the record open; a deletion is confirmed first.
void installEntryRules(TDravinDataT& data, Prompter& prompter);

// The messages the rules show.
inline constexpr const char* kDuplicateSpaceMessage =
    "προσοχή ο αριθμός χώρου στον όροφο\rπρέπει να είναι μοναδικός";
inline constexpr const char* kConfirmDeleteMessage = "Να διαγραφεί η εγγραφή";

}  // namespace dravin
