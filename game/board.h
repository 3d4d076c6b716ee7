// One level of Flipmatics: dealing, the board frame with cursor and pair check, the end animation.
#pragma once

// Plays one level with the per-level variables already set; returns after the end animation, with
// cardsLeft 0 when won and triesLeft 0 when lost.
void playLevel();
// Deals rows × cols cards: rows × cols / 2 pictures, each twice, all face down.
void dealCards();
// Left and top edge of the card place of a column or row.
double cardPlaceX(double column);
double cardPlaceY(double row);
// One frame of play: draw, read keys, count the pair check, show the frame.
void boardFrame();
// The end picture turning and growing for 36 frames, then standing for 121 frames.
void endAnimation(double sprite);
