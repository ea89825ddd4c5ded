#pragma once

// The inspector's note: a heading and a text editor on a well that grows with its text, with a
// prompt while it is empty. The editor's text is the user's: the section never changes it except
// through load(), which the inspector calls when it starts showing a save. Loading is silent (no
// edited()) and starts a fresh editing history, so that undoing in the editor can never bring back
// the note of the save shown before. Every change the user makes is reported by edited().

#include <QPlainTextEdit>
#include <QWidget>

namespace sw {

class Kicker;

class NoteEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr double padding = 8;
    static constexpr double minimumEditorHeight = 76;
    static constexpr double radius = 10;

    explicit NoteEditor(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    void applyTheme();
    void fitHeight();
};

class NoteSection : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 8;

    explicit NoteSection(QWidget *parent = nullptr);

    // Puts `note` into the editor without reporting it.
    void load(const QString &note);
    QString text() const;
    NoteEditor &editor() { return *m_editor; }

signals:
    // The user changed the text: all of it.
    void edited(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    Kicker *m_kicker = nullptr;
    NoteEditor *m_editor = nullptr;
    bool m_loading = false;
};

}  // namespace sw
