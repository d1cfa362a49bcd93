// Filling the editor from a record, the save procedure's checks and stores,
// closing, and the edited record going away while the editor is open.
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/message_box_recorder.h"
#include "tests/win32/stream_editor/editor_fixture.h"

namespace {

using Texts = std::vector<std::string>;

const char kTitleMissing[] = "Le titre du flux n'est pas renseigné !";
const char kAddressMissing[] = "L'adresse du flux n'est pas renseignée !";
const char kAddressScheme[] = "L'adresse du flux doit être de type http:// ou mms:// !";
const char kWebsiteScheme[] = "L'adresse du site web doit commencer par http:// !";
const char kPlaylistScheme[] = "L'adresse de la playlist doit commencer par http:// !";
const char kPodcastScheme[] = "L'adresse du podcast doit commencer par http:// !";

const int kNineEdits[] = {IDC_EDITOR_NAME,    IDC_EDITOR_ADDRESS,  IDC_EDITOR_WEBSITE,
                          IDC_EDITOR_PLAYLIST, IDC_EDITOR_PODCAST,  IDC_EDITOR_SLOGAN,
                          IDC_EDITOR_KEYWORDS, IDC_EDITOR_FORMAT,   IDC_EDITOR_QUALITY};

// A record whose every text field names itself, in the catalogue's hands.
StreamRecord* FullRecord(const char* tag, int kind, int32_t colour) {
    StreamRecord* record = MakeRecord(tag, kind);
    std::string t = tag;
    SetField(record->address, ("http://radio.example/" + t).c_str());
    SetField(record->website, ("http://" + t + ".example").c_str());
    SetField(record->playlist, ("http://" + t + ".example/pls").c_str());
    SetField(record->podcast, ("http://" + t + ".example/pod").c_str());
    SetField(record->slogan, (t + " slogan").c_str());
    SetField(record->keywords, (t + " keywords").c_str());
    SetField(record->format, "MP3");
    SetField(record->quality, "128k");
    record->transparentColour = colour;
    FillLogo(record->logo, [](int x, int y) { return RGB(x * 5, y * 5, 0x40); });
    return record;
}

}  // namespace

TEST_F(StreamEditorTest, BeginEditShowsAnExistingRecord) {
    StreamRecord* tv = FullRecord("tele", 1, 0);
    ASSERT_EQ(view.AddStream(tv), 1);
    ASSERT_EQ(editor.BeginEdit(tv), 1);

    EXPECT_TRUE(editor.isEditing);
    EXPECT_EQ(editor.currentRecord, tv);
    EXPECT_TRUE(Checked(IDC_EDITOR_TV));
    EXPECT_FALSE(Checked(IDC_EDITOR_RADIO));
    EXPECT_EQ(Text(IDC_EDITOR_NAME), "tele");
    EXPECT_EQ(Text(IDC_EDITOR_ADDRESS), "http://radio.example/tele");
    EXPECT_EQ(Text(IDC_EDITOR_WEBSITE), "http://tele.example");
    EXPECT_EQ(Text(IDC_EDITOR_PLAYLIST), "http://tele.example/pls");
    EXPECT_EQ(Text(IDC_EDITOR_PODCAST), "http://tele.example/pod");
    EXPECT_EQ(Text(IDC_EDITOR_SLOGAN), "tele slogan");
    EXPECT_EQ(Text(IDC_EDITOR_KEYWORDS), "tele keywords");
    EXPECT_EQ(Text(IDC_EDITOR_FORMAT), "MP3");
    EXPECT_EQ(Text(IDC_EDITOR_QUALITY), "128k");
    EXPECT_EQ(Text(IDC_EDITOR_COLOUR), "0");   // black, no leading zeros
    EXPECT_EQ(Title(), "Editer un Flux");
    EXPECT_EQ(memcmp(editor.logoPixels, tv->logo, kLogoBytes), 0);

    // Any non-zero kind is television; colours are upper-case hexadecimal.
    StreamRecord* odd = FullRecord("odd", 7, 0xFF00FF);
    ASSERT_EQ(view.AddStream(odd), 1);
    editor.BeginEdit(odd);
    EXPECT_TRUE(Checked(IDC_EDITOR_TV));
    EXPECT_EQ(Text(IDC_EDITOR_COLOUR), "FF00FF");
    odd->transparentColour = 0xabc;
    editor.BeginEdit(odd);
    EXPECT_EQ(Text(IDC_EDITOR_COLOUR), "ABC");
}

TEST_F(StreamEditorTest, BeginEditForANewEntryStartsFromScratch) {
    StreamRecord* tv = FullRecord("tele", 1, 0x123456);
    ASSERT_EQ(view.AddStream(tv), 1);
    editor.BeginEdit(tv);
    ASSERT_EQ(editor.BeginEdit(nullptr), 1);

    EXPECT_FALSE(editor.isEditing);
    EXPECT_EQ(editor.currentRecord, nullptr);
    EXPECT_TRUE(Checked(IDC_EDITOR_RADIO));
    EXPECT_FALSE(Checked(IDC_EDITOR_TV));
    for (int id : kNineEdits) EXPECT_EQ(Text(id), "") << "edit " << id;
    EXPECT_EQ(Text(IDC_EDITOR_COLOUR), "FF00FF");
    EXPECT_EQ(Title(), "Ajouter un Flux");
    // The default logo, on its magenta ground, replaced the record's.
    EXPECT_EQ(LogoPixel(editor.logoPixels, 0, 0), RGB(0xFF, 0x00, 0xFF));
    EXPECT_EQ(LogoPixel(editor.logoPixels, 47, 47), RGB(0xFF, 0x00, 0xFF));

    // Editing the television entry again shows only TV and keeps it television.
    editor.BeginEdit(tv);
    EXPECT_TRUE(Checked(IDC_EDITOR_TV));
    EXPECT_FALSE(Checked(IDC_EDITOR_RADIO));
    Press(IDC_EDITOR_SAVE);
    EXPECT_EQ(tv->kind, 1);
}

TEST_F(StreamEditorTest, ChecksRunInOrderWithTheirOwnMessages) {
    MessageBoxRecorder boxes;
    editor.BeginEdit(nullptr);
    editor.Show(SW_SHOW);
    auto refused = [&](const char* why) {
        size_t before = boxes.boxes.size();
        Press(IDC_EDITOR_SAVE);
        EXPECT_EQ(boxes.boxes.size(), before + 1) << why;
        EXPECT_TRUE(EditorShown()) << why;
        EXPECT_EQ(view.slotCount, 0) << why;
        EXPECT_EQ(view.ViewRowCount(), 0) << why;
    };

    refused("nothing typed: the name comes first");
    Type(IDC_EDITOR_NAME, "Radio Une");
    refused("no address");
    Type(IDC_EDITOR_ADDRESS, "rtsp://radio.example/live");
    refused("another scheme");
    Type(IDC_EDITOR_ADDRESS, "HTTP://RADIO.EXAMPLE/LIVE");
    refused("schemes are case-sensitive");
    Type(IDC_EDITOR_ADDRESS, "http://radio.example/live");
    Type(IDC_EDITOR_WEBSITE, "www.radio.example");
    Type(IDC_EDITOR_PLAYLIST, "ftp://radio.example/pls");
    refused("web site and playlist both wrong");
    Type(IDC_EDITOR_WEBSITE, "");
    refused("playlist");
    Type(IDC_EDITOR_PLAYLIST, "http://radio.example/pls");
    Type(IDC_EDITOR_PODCAST, "see http://radio.example/pod");
    refused("podcast must begin with the scheme");
    Type(IDC_EDITOR_PODCAST, "");
    Press(IDC_EDITOR_SAVE);

    EXPECT_EQ(boxes.Texts(), (Texts{kTitleMissing, kAddressMissing, kAddressScheme, kAddressScheme,
                                    kWebsiteScheme, kPlaylistScheme, kPodcastScheme}));
    for (const RecordedBox& box : boxes.boxes) {
        EXPECT_EQ(box.caption, "Erreur Ondaria 2");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(box.owner, editor.window);
    }
    ASSERT_EQ(view.slotCount, 1);
    EXPECT_STREQ(view.slots[0]->name, "Radio Une");
    EXPECT_STREQ(view.slots[0]->playlist, "http://radio.example/pls");
    EXPECT_FALSE(EditorShown());
}

TEST_F(StreamEditorTest, SecureAndEmbeddedAddressesAreAccepted) {
    struct Case {
        const char* address;
        const char* website;
        const char* playlist;
        const char* podcast;
    };
    const Case cases[] = {
        {"https://radio.example/live", "https://radio.example", "https://radio.example/pls",
         "https://radio.example/pod"},
        {"mms://radio.example/live", "", "", ""},
        {"flux: http://radio.example/live", "http://radio.example", "", ""},
        {"flux https://radio.example/live", "", "", "https://radio.example/pod"},
    };
    MessageBoxRecorder boxes;
    int added = 0;
    for (const Case& c : cases) {
        editor.BeginEdit(nullptr);
        TypeEntry("Radio", c.address, c.website, c.playlist, c.podcast);
        Press(IDC_EDITOR_SAVE);
        ASSERT_EQ(view.slotCount, ++added) << c.address;
        EXPECT_STREQ(view.slots[added - 1]->address, c.address);
        EXPECT_STREQ(view.slots[added - 1]->website, c.website);
        EXPECT_STREQ(view.slots[added - 1]->podcast, c.podcast);
    }
    EXPECT_EQ(boxes.Texts(), Texts{});
}

TEST_F(StreamEditorTest, FieldsOfAnEditedRecordAreStoredAsTheyAreRead) {
    StreamRecord* record = FullRecord("old", 1, 0x123456);
    ASSERT_EQ(view.AddStream(record), 1);
    const StreamRecord original = *record;
    MessageBoxRecorder boxes;
    editor.BeginEdit(record);
    editor.Show(SW_SHOW);

    // Refused at the name: nothing changes.
    Type(IDC_EDITOR_NAME, "");
    Press(IDC_EDITOR_SAVE);
    EXPECT_EQ(memcmp(record, &original, sizeof original), 0);

    // Refused at the address: the name is already stored.
    Type(IDC_EDITOR_NAME, "new name");
    Type(IDC_EDITOR_ADDRESS, "rtsp://radio.example/new");
    Type(IDC_EDITOR_SLOGAN, "new slogan");
    Press(IDC_EDITOR_SAVE);
    EXPECT_STREQ(record->name, "new name");
    EXPECT_STREQ(record->address, original.address);
    EXPECT_STREQ(record->slogan, original.slogan);

    // Refused at the web site: the address and the seven texts are stored,
    // the bad web site among them; colour, logo and kind are not.
    Type(IDC_EDITOR_ADDRESS, "http://radio.example/new");
    Type(IDC_EDITOR_WEBSITE, "radio.example");
    Type(IDC_EDITOR_COLOUR, "FF");
    CheckRadioButton(editor.window, IDC_EDITOR_RADIO, IDC_EDITOR_TV, IDC_EDITOR_RADIO);
    Press(IDC_EDITOR_SAVE);
    EXPECT_STREQ(record->address, "http://radio.example/new");
    EXPECT_STREQ(record->slogan, "new slogan");
    EXPECT_STREQ(record->website, "radio.example");
    EXPECT_STREQ(record->keywords, original.keywords);
    EXPECT_EQ(record->transparentColour, 0x123456);
    EXPECT_EQ(record->kind, 1);
    EXPECT_EQ(memcmp(record->logo, original.logo, kLogoBytes), 0);

    // "Annuler" restores nothing.
    Press(IDC_EDITOR_CANCEL);
    EXPECT_FALSE(EditorShown());
    EXPECT_STREQ(record->name, "new name");
    EXPECT_EQ(boxes.Texts(), (Texts{kTitleMissing, kAddressScheme, kWebsiteScheme}));
    EXPECT_EQ(view.slotCount, 1);
    EXPECT_EQ(view.ViewRowCount(), 1);
}

TEST_F(StreamEditorTest, AnEditedRecordIsChangedInPlaceAndTheListRepainted) {
    StreamRecord* record = FullRecord("old", 1, 0x123456);
    ASSERT_EQ(view.AddStream(record), 1);
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    UpdateWindow(parent);
    ValidateRect(list, nullptr);

    editor.BeginEdit(record);
    editor.Show(SW_SHOW);
    Type(IDC_EDITOR_NAME, "renamed");
    Type(IDC_EDITOR_COLOUR, "pas une couleur");
    CheckRadioButton(editor.window, IDC_EDITOR_RADIO, IDC_EDITOR_TV, IDC_EDITOR_RADIO);
    Press(IDC_EDITOR_SAVE);

    EXPECT_STREQ(record->name, "renamed");
    EXPECT_EQ(record->kind, 0);
    EXPECT_EQ(record->transparentColour, 0x123456);   // not hexadecimal: kept
    EXPECT_EQ(view.slotCount, 1);
    EXPECT_EQ(view.ViewRowCount(), 1);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(PreferencesShown());
    RECT pending;
    EXPECT_TRUE(GetUpdateRect(list, &pending, FALSE));
}

TEST_F(StreamEditorTest, ANewEntryGoesToTheEndSelectedAndThePreferencesReturn) {
    ASSERT_EQ(Add("first"), 1);
    ASSERT_EQ(Add("second"), 1);
    editor.BeginEdit(nullptr);
    editor.Show(SW_SHOW);
    TypeEntry("Télé Trois", "mms://tele.example/trois", "http://tele.example", "http://tele.example/pls",
              "http://tele.example/pod");
    Type(IDC_EDITOR_SLOGAN, "La trois");
    Type(IDC_EDITOR_KEYWORDS, "info sport");
    Type(IDC_EDITOR_FORMAT, "WMA");
    Type(IDC_EDITOR_QUALITY, "300k");
    Type(IDC_EDITOR_COLOUR, "ff0000");
    CheckRadioButton(editor.window, IDC_EDITOR_RADIO, IDC_EDITOR_TV, IDC_EDITOR_TV);
    Press(IDC_EDITOR_SAVE);

    ASSERT_EQ(view.ViewRowCount(), 3);
    StreamRecord* added = view.ViewRecordAt(2);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(view.ViewSelectedRow(), 2);
    EXPECT_EQ(added->index, 2);
    EXPECT_STREQ(added->name, "Télé Trois");
    EXPECT_STREQ(added->address, "mms://tele.example/trois");
    EXPECT_STREQ(added->website, "http://tele.example");
    EXPECT_STREQ(added->playlist, "http://tele.example/pls");
    EXPECT_STREQ(added->podcast, "http://tele.example/pod");
    EXPECT_STREQ(added->slogan, "La trois");
    EXPECT_STREQ(added->keywords, "info sport");
    EXPECT_STREQ(added->format, "WMA");
    EXPECT_STREQ(added->quality, "300k");
    EXPECT_EQ(added->kind, 1);
    EXPECT_EQ(added->transparentColour, 0xFF0000);
    EXPECT_EQ(added->padding[0] | added->padding[1], 0);
    EXPECT_EQ(memcmp(added->logo, editor.logoPixels, kLogoBytes), 0);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(PreferencesShown());
}

TEST_F(StreamEditorTest, AFullCatalogueLosesTheNewEntryAndTheProcedureGoesOn) {
    view.slotCount = kMaxSlots;   // every slot used since the last clear
    MessageBoxRecorder boxes;
    editor.BeginEdit(nullptr);
    editor.Show(SW_SHOW);
    TypeEntry("Radio", "http://radio.example/live");
    const int live = LiveRecordAllocations();
    Press(IDC_EDITOR_SAVE);

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "La liste est remplie !");
    EXPECT_EQ(boxes.boxes[0].caption, "Ondaria");
    EXPECT_EQ(view.ViewRowCount(), 0);
    EXPECT_EQ(editor.currentRecord, nullptr);
    EXPECT_EQ(LiveRecordAllocations(), live);   // the refused record was freed
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(PreferencesShown());
    view.slotCount = 0;
}

TEST_F(StreamEditorTest, EnterAndEscapeNeitherSaveNorClose) {
    MessageBoxRecorder boxes;
    editor.BeginEdit(nullptr);
    editor.Show(SW_SHOW);
    TypeEntry("Radio", "http://radio.example/live");
    SendMessageA(editor.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageA(editor.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(view.slotCount, 0);
    EXPECT_EQ(boxes.Texts(), Texts{});
}

TEST_F(StreamEditorTest, TheCloseBoxAndAnnulerHideWithoutChanges) {
    StreamRecord* record = FullRecord("kept", 0, 0xFF00FF);
    ASSERT_EQ(view.AddStream(record), 1);
    const StreamRecord original = *record;

    editor.BeginEdit(record);
    editor.Show(SW_SHOW);
    Type(IDC_EDITOR_NAME, "typed, then closed");
    SendMessageA(editor.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(IsWindow(editor.window));

    editor.Show(SW_SHOW);
    Type(IDC_EDITOR_ADDRESS, "http://typed.example");
    Press(IDC_EDITOR_CANCEL);
    EXPECT_FALSE(EditorShown());

    EXPECT_EQ(memcmp(record, &original, sizeof original), 0);
    EXPECT_EQ(view.slotCount, 1);
    EXPECT_FALSE(PreferencesShown());
}

TEST_F(StreamEditorTest, DeletingTheEditedRecordTurnsTheEntryIntoANewOne) {
    ASSERT_EQ(Add("X"), 1);
    ASSERT_EQ(Add("Y"), 1);
    StreamRecord* x = view.slots[0];
    editor.BeginEdit(x);
    editor.Show(SW_SHOW);
    Type(IDC_EDITOR_NAME, "X edited");

    view.DeleteStream(1);   // another record: the edit goes on
    EXPECT_TRUE(editor.isEditing);
    EXPECT_EQ(editor.currentRecord, x);

    view.DeleteStream(0);   // the edited one
    EXPECT_FALSE(editor.isEditing);
    EXPECT_EQ(editor.currentRecord, nullptr);
    EXPECT_EQ(Title(), "Ajouter un Flux");
    EXPECT_EQ(Text(IDC_EDITOR_NAME), "X edited");
    EXPECT_TRUE(EditorShown());

    Press(IDC_EDITOR_SAVE);
    EXPECT_EQ(view.slotCount, 3);
    ASSERT_EQ(view.ViewRowCount(), 1);
    EXPECT_STREQ(view.ViewRecordAt(0)->name, "X edited");
    EXPECT_STREQ(view.ViewRecordAt(0)->address, "http://example.org/X");
    EXPECT_FALSE(EditorShown());
}

TEST_F(StreamEditorTest, ClearingTheCatalogueWhileEditingKeepsWhatWasTyped) {
    ASSERT_EQ(Add("X"), 1);
    editor.BeginEdit(view.slots[0]);
    editor.Show(SW_SHOW);
    Type(IDC_EDITOR_SLOGAN, "typed during the import");
    view.ClearCatalogue();   // what an import does first

    Press(IDC_EDITOR_SAVE);
    ASSERT_EQ(view.slotCount, 1);
    EXPECT_STREQ(view.slots[0]->name, "X");
    EXPECT_STREQ(view.slots[0]->slogan, "typed during the import");
}

TEST_F(StreamEditorTest, RecordsMadeByRefusedPressesAreNotLeaked) {
    ASSERT_EQ(Add("X"), 1);
    const int live = LiveRecordAllocations();
    MessageBoxRecorder boxes;

    editor.BeginEdit(nullptr);
    for (int i = 0; i < 3; ++i) Press(IDC_EDITOR_SAVE);   // no name
    EXPECT_EQ(LiveRecordAllocations(), live + 1);
    editor.BeginEdit(nullptr);                               // a new edit drops it
    EXPECT_EQ(LiveRecordAllocations(), live);

    Press(IDC_EDITOR_SAVE);
    editor.BeginEdit(view.slots[0]);                         // so does editing a record
    EXPECT_EQ(LiveRecordAllocations(), live);

    editor.BeginEdit(nullptr);
    TypeEntry("Radio", "http://radio.example/live");
    Press(IDC_EDITOR_SAVE);                                // handed over
    EXPECT_EQ(LiveRecordAllocations(), live + 1);
    EXPECT_EQ(view.slotCount, 2);

    // An editor destroyed while holding a record it made frees it.
    {
        CStream other;
        ASSERT_EQ(other.Create(IDD_STREAM_EDITOR, &owner, &CDialog::ModelessDialogProc), 1);
        other.BeginEdit(nullptr);
        SendMessageA(other.window, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_SAVE, BN_CLICKED), 0);
        EXPECT_EQ(LiveRecordAllocations(), live + 2);
        DestroyWindow(other.window);
    }
    EXPECT_EQ(LiveRecordAllocations(), live + 1);
    EXPECT_EQ(boxes.Texts(), Texts(5, kTitleMissing));
}
