#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QSet>
#include <QWidget>

namespace tomlet::testing {

// Every button, group box and field label of a dialog marks an access letter that no other of
// them marks. Returns how many controls there are, so that a test sees none was left out.
inline int ExpectControlLetters(const QWidget& dialog) {
    QStringList captions;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        captions << button->text();
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        captions << group->title();
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() != nullptr)
            captions << label->text();
    QSet<QString> letters;
    for (const QString& caption : captions) {
        if (caption.isEmpty())
            continue;
        const QString letter = QKeySequence::mnemonic(caption).toString();
        EXPECT_FALSE(letter.isEmpty()) << caption.toStdString();
        EXPECT_FALSE(letters.contains(letter)) << caption.toStdString();
        letters.insert(letter);
    }
    return static_cast<int>(letters.size());
}

}  // namespace tomlet::testing
