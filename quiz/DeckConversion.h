#pragma once

#include <string>

// Decks of other programs, opened from the window: qld, the program beside Quillow, converts
// them. It is run as a process, so that the window links none of its readers.

// The Open command's filter: the data files' filter, then "Decks of other programs".
std::string WithOtherDecks(const std::string& dataFileFilter);

// Any file but a data file (*.qld) is taken for another program's deck; qld tells by content.
bool IsOtherDeck(const std::string& path);

// Converts the deck into a new data file beside it, under the first free name of NAME.qld,
// NAME-2.qld, ..., and shows qld's summary in a message box. The new file's path, or empty
// after a message box that says why not (qld refused it, or it gives no cards); nothing is left
// behind then.
std::string ConvertDeck(const std::string& deck, const std::string& programFolder);
