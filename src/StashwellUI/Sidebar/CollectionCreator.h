#pragma once

// The small inline form that names a new collection, or renames one, and picks its swatch: a name
// field with a preview of the swatch, the five swatches, one line with the problem of the name or
// else a hint, and Cancel beside the confirm button, on a card with an accent halo.
//
// It decides nothing. The name and the swatch are the owner's (setName/setSwatch; the form reports
// typing with nameChanged() and every swatch click with swatchChanged(), also for the swatch
// already chosen); whether confirming is allowed, the problem text, whether confirming also files
// a save and the confirm title come from the owner too. Confirming (the button, or Return in the
// name field, only while allowed) emits createRequested(); Cancel and Escape emit
// cancelRequested(), always. Each time the form is shown its name field takes the keyboard focus.

#include "Library/Collection.h"

#include <QString>
#include <QWidget>

#include <optional>

class QLineEdit;

namespace sw {

class Pressable;

class CollectionCreator : public QWidget {
    Q_OBJECT
public:
    static constexpr double padding = 10;
    static constexpr double spacing = 10;
    static constexpr double radius = 12;
    static constexpr double halo = 3;
    static constexpr double verticalPadding = 4;

    explicit CollectionCreator(QWidget *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    Swatch swatch() const { return m_swatch; }
    void setSwatch(Swatch swatch);
    std::optional<QString> problem() const { return m_problem; }
    void setProblem(const std::optional<QString> &problem);
    bool canCreate() const { return m_canCreate; }
    void setCanCreate(bool canCreate);
    bool filesSave() const { return m_filesSave; }
    void setFilesSave(bool filesSave);
    QString confirmTitle() const { return m_confirmTitle; }
    void setConfirmTitle(const QString &title);

    // The line under the swatches: the problem when there is one, else the hint.
    QString message() const;
    bool showsProblem() const { return m_problem.has_value(); }
    // "Press Enter to create.", with "filed here" in front when confirming files a save; the title
    // is lower-cased.
    static QString hint(const QString &confirmTitle, bool filesSave);
    // "Amber", "Blue", ...: what assistive technologies read for a swatch.
    static QString swatchLabel(Swatch swatch);

    QLineEdit *nameField() const { return m_edit; }
    bool isNameFocused() const { return m_focused; }
    Pressable *swatchButton(Swatch swatch) const;
    Pressable *cancelButton() const;
    Pressable *confirmButton() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void nameChanged(const QString &name);
    void swatchChanged(sw::Swatch swatch);
    void createRequested();
    void cancelRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class NameRow;
    class SwatchButton;
    class MessageLine;
    class FormButton;

    QString m_name;
    Swatch m_swatch = Swatch::amber;
    std::optional<QString> m_problem;
    bool m_canCreate = false;
    bool m_filesSave = false;
    QString m_confirmTitle;
    bool m_focused = false;

    NameRow *m_nameRow = nullptr;
    QLineEdit *m_edit = nullptr;
    QList<SwatchButton *> m_swatches;
    MessageLine *m_message = nullptr;
    FormButton *m_cancel = nullptr;
    FormButton *m_confirm = nullptr;

    void messageChanged();
    void applyTheme();
};

}  // namespace sw
