#include "saver/PictureSource.h"

namespace saver {

PictureSource::PictureSource(const SaverSettings& theme, RandomFn random)
    : resume_(theme.LastImageNumber), entries_(theme.Entries), random_(std::move(random)) {
  order_.Count = theme.ImageCount;
  order_.Random = theme.ImageOrdRandom;
  order_.Next = theme.LastImageNumber;
}

std::string PictureSource::Entry(const settings::StrKey& list, int n) const {
  return entries_.String(settings::Numbered(list.name, n), list.Default(settings::Role::Saver));
}

ShowPicture PictureSource::Next() {
  const int n = order_.Pick(random_);
  ShowPicture picture;
  picture.Image = Entry(settings::key::Image, n);
  picture.Wave = Entry(settings::key::Wave, n);
  picture.Resume = order_.Next;
  return picture;
}

}  // namespace saver
