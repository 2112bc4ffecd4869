#pragma once

enum class FrameClick;
class TForm1;
class TForm11;

// Gives the main window its presentation mode: the black screen Panel4 with
// Image4, the one-shot timer Timer2, the full-screen frame and the clicks on
// the window's own surface.
void attachPresentationMode(TForm1 &form1, TForm11 &frame);

// What a click on the frame does to the main window (closing the frame aside).
void applyFrameClick(TForm1 &form1, FrameClick click);

// Printing: this copy's print folder (removed when the program ends), the
// print preview of the hidden browser and the print rows of the page menu.
void attachPrinting(TForm1 &form1);
