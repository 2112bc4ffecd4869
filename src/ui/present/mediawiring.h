#pragma once

class TForm1;
class TForm6;

// Joins the media player and the page sound to the main window: local videos
// linked from pages play in the player, every page opening closes it, and
// the "WAV" command records with our own recorder.
void attachMediaPlayer(TForm1 &form1, TForm6 &player);
