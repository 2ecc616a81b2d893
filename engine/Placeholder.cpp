void TesmiraEnginePlaceholder() {}
