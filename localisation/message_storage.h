#pragma once

class QWidget;
class TTextStorage;

/// Creates the message catalogue's text storage "TS_messages" on the
/// program's main form, where language files translate it like the form's
/// own texts, and makes it the source of MessageText.
TTextStorage* CreateMessageStorage(QWidget* mainForm);
