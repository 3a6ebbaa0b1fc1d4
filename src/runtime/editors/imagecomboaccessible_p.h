#pragma once

// Makes image combo boxes report their accessible name as their name.
//
// Qt names a combo box by its current item on Linux, where assistive technology
// is meant to find the label through a relation, and by its label elsewhere. The
// forms here name every input control by the label before it on every platform:
// the image combo box's name is its accessible name (or its buddy label's
// caption) and its current item is its value. Installed once, on first use.
void installImageComboAccessible();
