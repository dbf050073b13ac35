void snoetjesmalUiPlaceholder() {}
