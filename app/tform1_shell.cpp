#include "app/tform1.h"
#include "app/ui/dialogs.h"

void TForm1::FormCreate() {}
void TForm1::LoadToolSettings() {}
std::optional<Failure> TForm1::SaveToolSettings() {
    return std::nullopt;
}
void TForm1::showFailure(const Failure& failure) {
    dialogs().error(this, failure.message);
}
void TForm1::Proframmbeenden1Click() {}
void TForm1::Info1Click() {}
void TForm1::bisV407x1Click() {}
void TForm1::abV408x1Click() {}
void TForm1::Duo_ab50xClick() {}
