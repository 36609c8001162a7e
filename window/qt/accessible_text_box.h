// What a screen reader reads of the calculator's text boxes: their text,
// caret and selection, through the box's public interface, and edits made
// through it reach the box as a user's edits would. Qt 6.4's own interface for
// a QLineEdit reports its text attributes over an empty range of characters,
// and Orca 43 then leaves the text out when it presents a box.
#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace velmorida {

class AccessibleTextBox : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
 public:
  explicit AccessibleTextBox(QLineEdit* box);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text kind) const override;
  QAccessible::State state() const override;

  // QAccessibleTextInterface
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // QAccessibleEditableTextInterface
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  QLineEdit* box() const;
};

}  // namespace velmorida
