// Keeps the GUI library non-empty while the shell grows; holds nothing else.
namespace sarnova {
void GuiLibraryAnchor() {}
}  // namespace sarnova
