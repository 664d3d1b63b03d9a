#pragma once

class QWidget;

// Makes a box that only takes numbers take the digits a Japanese learner
// types: the input method is switched off for it, and full-width digits that
// still arrive (a key's text, an input method's commit) come in as ASCII ones.
void acceptFullWidthDigits(QWidget *box);
