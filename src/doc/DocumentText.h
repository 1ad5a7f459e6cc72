#pragma once
// What the document needs of the view that holds its text: emptying it, the load and save
// of the text in the file's encoding, and whether a file can be decoded at all. The view implements it, so the document knows
// no view.

namespace platform::fx { class Archive; }

class CDocumentText {
public:
    virtual ~CDocumentText() = default;
    virtual void DeleteText() = 0;
    virtual void SerializeEncoded(platform::fx::Archive& ar) = 0;
    // Asked before a file is opened: false, after telling the user, when the current code
    // page cannot decode, so that the text on screen stays as it is.
    virtual bool CheckCodePageForOpen() = 0;
};
