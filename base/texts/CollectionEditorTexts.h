#pragma once

#include "base/Catalogue.h"

// Texts of the collection editor `Musikform`: its messages and the names of the kinds its kind
// switch shows. Its fixed captions are with the other window captions.
namespace marlo::texts::collectioneditor {

inline constexpr TextPair kKindAudio{"Audio", "Audio"};
inline constexpr TextPair kKindCdAudio{"CD Audio", "CD-Audio"};
inline constexpr TextPair kKindVideo{"Video", "Video"};
inline constexpr TextPair kKindPictures{"Pictures", "Bilder"};

inline constexpr MessagePair kCollectionExists{
    {"Hint", "Hinweis"},
    {"This collection already exists! Please enter another name for your collection!",
     "Diese Kolletion existiert bereits! Bitte geben Sie einen anderen Namen für die Kollektion "
     "ein!"}};

inline constexpr MessagePair kInsertCd{{"Hint", "Hinweis"},
                                       {"Please insert an Audio-CD and click Okay!",
                                        "Bitte legen Sie eine Audio-CD ein und clicken Sie Okay!"}};

inline constexpr MessagePair kItemInUse{
    {"Hint", "Hinweis"},
    {"The selected item can't be deleted because it is already in use.",
     "Sie können einne Titel nur dann löschen, wenn kein Titel gespielt wird."}};

// "%1" is the title.
inline constexpr MessagePair kDeleteItem{
    {"Delete item?", "Eintrag löschen?"},
    {"Are you sure you want to delete '%1'?", "Sind Sie sicher, daß Sie '%1' löschen wollen?"}};

inline constexpr MessagePair kDeleteItemFailed{
    {"Delete", "Löschen"},
    {"A problem during deleting occured", "Problem beim Löschen aufgetreten"}};

// "%1" is the collection's name.
inline constexpr MessagePair kDeleteCollection{
    {"Delete collection?", "Kollektion löschen?"},
    {"Are you sure that you want to delete the collection '%1'?",
     "Sind Sie sicher, daß Sie die Kollektion '%1' löschen wollen?"}};

inline constexpr MessagePair kDeleteCollectionFailed{
    {"Delete", "Löschen"},
    {"An error occured while deleting the collection!",
     "Fehler beim Löschen der Kollektion aufgetreten!"}};

// Deleting a collection takes its titles out of the playback list, the playing one included.
inline constexpr MessagePair kCollectionInUse{
    {"Hint", "Hinweis"},
    {"The collection can't be deleted while one of its titles is playing.",
     "Sie können die Kollektion nur dann löschen, wenn kein Titel gespielt wird."}};

// A collection's name becomes part of a file name. "%1" is the name.
inline constexpr MessagePair kInvalidCollectionName{
    {"Invalid name", "Ungültiger Name"},
    {"The name \"%1\" cannot be used for a collection. A name must not contain the characters "
     "/ \\ : * ? \" < > | or control characters.",
     "Der Name \"%1\" kann nicht für eine Kollektion verwendet werden. Ein Name darf die Zeichen "
     "/ \\ : * ? \" < > | und Steuerzeichen nicht enthalten."}};

}  // namespace marlo::texts::collectioneditor
